#include "kestrune.h"

#include <QDebug>
#include <QDir>

namespace {

// The generator arguments for a Visual Studio path; the newest year wins, since an installation
// path may hold an older year elsewhere in it. The 2017 generator makes a Win32 solution unless
// told otherwise, and Fluent's libraries are x64 only.
QStringList visualStudioGenerator(const QString &vsPath)
{
    static const struct {
        const char *year;
        QStringList arguments;
    } generators[] = {
        { "2022", { "-G", "Visual Studio 17 2022" } },
        { "2019", { "-G", "Visual Studio 16 2019" } },
        { "2017", { "-G", "Visual Studio 15 2017", "-A", "x64" } },
    };
    for (const auto &row : generators) {
        if (vsPath.contains(QLatin1String(row.year)))
            return row.arguments;
    }
    return {};
}

// Without a known year "-G" would swallow "-B" as the generator name; CMake picks its own
// default generator instead.
QStringList cmakeArguments(const QString &buildRoot, const QString &vsPath)
{
    const QStringList generator = visualStudioGenerator(vsPath);
    if (generator.isEmpty())
        qDebug() << "No Visual Studio year in the path; no generator chosen:" << vsPath;
    return QStringList { buildRoot } + generator
        + QStringList { QStringLiteral("-B"), buildRoot + "/solution" };
}

bool ensureSolutionDirectory(const QString &solutionDirectory)
{
    QDir dir;
    if (dir.exists(solutionDirectory)) {
        qDebug() << "srcPath directory already exists";
        return true;
    }
    if (!dir.mkpath(solutionDirectory)) {
        qDebug() << "Failed to create srcPath directory";
        return false;
    }
    qDebug() << "srcPath directory created successfully";
    return true;
}

} // namespace

bool CKestrune::runCMake(const QString &buildRoot)
{
    const QStringList arguments = cmakeArguments(buildRoot, vsPath);
    if (!ensureSolutionDirectory(buildRoot + "/solution"))
        return false;

    const ProcessOutcome outcome = runExternalProcess(QStringLiteral("cmake"), arguments);
    if (!outcome.started) {
        qDebug() << "Failed to start process.";
        return false;
    }
    if (!outcome.finished) {
        qDebug() << "Process timed out.";
        return false;
    }
    return true;
}
