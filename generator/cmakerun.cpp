#include "kestrune.h"

#include <QDebug>
#include <QDir>

namespace {

// The newest year wins: an installation path may hold an older year elsewhere in it.
QString visualStudioGenerator(const QString &vsPath)
{
    static const struct {
        const char *year;
        const char *generator;
    } generators[] = {
        { "2022", "Visual Studio 17 2022" },
        { "2019", "Visual Studio 16 2019" },
        { "2017", "Visual Studio 15 2017" },
    };
    for (const auto &row : generators) {
        if (vsPath.contains(QLatin1String(row.year)))
            return QLatin1String(row.generator);
    }
    return QString();
}

// Without a known year "-G" would swallow "-B" as the generator name; CMake picks its own
// default generator instead.
QStringList cmakeArguments(const QString &buildRoot, const QString &vsPath)
{
    QStringList arguments { buildRoot };
    const QString generator = visualStudioGenerator(vsPath);
    if (generator.isEmpty())
        qDebug() << "No Visual Studio year in the path; no generator chosen:" << vsPath;
    else
        arguments << QStringLiteral("-G") << generator;
    return arguments << QStringLiteral("-B") << buildRoot + "/solution";
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
