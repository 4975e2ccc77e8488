#include "cmakerun.h"

#include "buildtree.h"
#include "kestrunelog.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVersionNumber>

namespace {

struct GeneratorRow {
    const char *name;
    QStringList extraArguments;
};

// Visual Studio 2026 installs under its version number, ".../Microsoft Visual Studio/18/...", with
// no year in the path.
bool isVisualStudio18(const QString &vsPath)
{
    const QStringList folders = vsPath.split(QLatin1Char('/'));
    const qsizetype vendor = folders.indexOf(QLatin1String("Microsoft Visual Studio"));
    return vsPath.contains(QLatin1String("2026"))
        || (vendor >= 0 && vendor + 1 < folders.size()
            && folders.at(vendor + 1) == QLatin1String("18"));
}

// The newest version wins, since an installation path may hold an older year elsewhere in it. The
// 2017 generator makes a Win32 solution unless told otherwise, and Fluent's libraries are x64 only.
const GeneratorRow *generatorRow(const QString &vsPath)
{
    static const GeneratorRow vs2026 { "Visual Studio 18 2026", {} };
    static const struct {
        const char *year;
        GeneratorRow row;
    } years[] = {
        { "2022", { "Visual Studio 17 2022", {} } },
        { "2019", { "Visual Studio 16 2019", {} } },
        { "2017", { "Visual Studio 15 2017", { "-A", "x64" } } },
    };
    if (isVisualStudio18(vsPath))
        return &vs2026;
    for (const auto &year : years) {
        if (vsPath.contains(QLatin1String(year.year)))
            return &year.row;
    }
    return nullptr;
}

QStringList visualStudioGeneratorArguments(const QString &vsPath)
{
    const GeneratorRow *row = generatorRow(vsPath);
    if (!row)
        return {};
    return QStringList { QStringLiteral("-G"), QLatin1String(row->name) } + row->extraArguments;
}

// Without a known year "-G" would swallow "-B" as the generator name; CMake picks its own
// default generator instead.
QStringList cmakeArguments(const QString &buildRoot, const QString &vsPath)
{
    const QStringList generator = visualStudioGeneratorArguments(vsPath);
    if (generator.isEmpty())
        qCDebug(lcKestrune) << "No Visual Studio year in the path; no generator chosen:" << vsPath;
    return QStringList { buildRoot } + generator
        + QStringList { QStringLiteral("-B"), BuildTree::solutionFolder(buildRoot) };
}

bool ensureSolutionDirectory(const QString &solutionDirectory)
{
    QDir dir;
    if (dir.exists(solutionDirectory)) {
        qCDebug(lcKestrune) << "srcPath directory already exists";
        return true;
    }
    if (!dir.mkpath(solutionDirectory)) {
        qCDebug(lcKestrune) << "Failed to create srcPath directory";
        return false;
    }
    qCDebug(lcKestrune) << "srcPath directory created successfully";
    return true;
}

// "cmake version 4.2.1" (the first line of cmake --version); empty when cmake does not answer so.
QString cmakeVersion(ToolRunner &tools)
{
    const ToolRun outcome = tools.run(QStringLiteral("cmake"), { QStringLiteral("--version") });
    static const QRegularExpression versionLine(
        QStringLiteral("cmake version (\\d+\\.\\d+[^\\s]*)"));
    const QRegularExpressionMatch match = versionLine.match(outcome.output);
    return match.hasMatch() ? match.captured(1) : QString();
}

// A CMake too old for the generator would stop with "Could not create named generator"; the user is
// told which version is needed instead. A version that cannot be read is left for CMake to judge.
bool isCMakeTooOld(ToolRunner &tools, const QString &generator, QString &version)
{
    const QString minimum = CMakeRun::minimumVersionFor(generator);
    if (minimum.isEmpty())
        return false;
    version = cmakeVersion(tools);
    return !version.isEmpty()
        && QVersionNumber::fromString(version) < QVersionNumber::fromString(minimum);
}

// What came of a cmake run that was asked for; cancelled, unstarted and hung runs made nothing.
void judgeRun(const ToolRun &outcome, const QString &buildRoot, CMakeRun::Result &run)
{
    using Problem = BuildOutcome::CMakeProblem;
    run.output = outcome.output;
    run.status = outcome.status;
    switch (outcome.status) {
    case ToolRun::Status::Cancelled:
        run.problem = Problem::NotRun;
        return;
    case ToolRun::Status::FailedToStart:
        qCDebug(lcKestrune) << "Failed to start process.";
        run.problem = Problem::NotRun;
        return;
    case ToolRun::Status::TimedOut:
        qCDebug(lcKestrune) << "Process timed out.";
        run.problem = Problem::NotRun;
        return;
    case ToolRun::Status::Finished:
        break;
    }
    run.inTime = true;
    if (outcome.exitCode != 0) {
        qCDebug(lcKestrune) << "cmake ended with status" << outcome.exitCode;
        run.problem = Problem::Failed;
    } else if (BuildTree::solutionFileOf(buildRoot).isEmpty()) {
        run.problem = Problem::NoSolution;
    }
}

} // namespace

QString CMakeRun::visualStudioGenerator(const QString &vsPath)
{
    const GeneratorRow *row = generatorRow(vsPath);
    return row ? QLatin1String(row->name) : QString();
}

QString CMakeRun::minimumVersionFor(const QString &generator)
{
    return generator == QLatin1String("Visual Studio 18 2026") ? QStringLiteral("4.2") : QString();
}

CMakeRun::Result CMakeRun::run(ToolRunner &tools, const QString &buildRoot, const QString &vsPath)
{
    Result run;
    const QStringList arguments = cmakeArguments(buildRoot, vsPath);
    if (!ensureSolutionDirectory(BuildTree::solutionFolder(buildRoot))) {
        run.problem = BuildOutcome::CMakeProblem::NotRun;
        return run;
    }
    if (isCMakeTooOld(tools, visualStudioGenerator(vsPath), run.version)) {
        qCDebug(lcKestrune) << "CMake" << run.version << "cannot generate for"
                            << visualStudioGenerator(vsPath);
        run.problem = BuildOutcome::CMakeProblem::TooOldForGenerator;
        return run;
    }
    judgeRun(tools.run(QStringLiteral("cmake"), arguments), buildRoot, run);
    return run;
}
