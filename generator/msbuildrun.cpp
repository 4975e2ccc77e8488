#include "msbuildrun.h"

#include "cmakerun.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString currentMSBuild = QStringLiteral("/MSBuild/Current/Bin/amd64/MSBuild.exe");
const QString msbuild2017 = QStringLiteral("/MSBuild/15.0/Bin/amd64/MSBuild.exe");

} // namespace

QString MSBuildRun::msbuildPath(const QString &vsPath)
{
    // A program path with backslashes does not start on other hosts; Windows takes "/" as well.
    QString folder = vsPath;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    for (const QString &candidate : { currentMSBuild, msbuild2017 }) {
        if (QFileInfo(folder + candidate).isFile())
            return folder + candidate;
    }
    const bool is2017
        = CMakeRun::visualStudioGenerator(folder) == QLatin1String("Visual Studio 15 2017");
    return folder + (is2017 ? msbuild2017 : currentMSBuild);
}

QStringList MSBuildRun::arguments(const QString &solution, const QString &configuration)
{
    // A solution path in native form: MSBuild would read a leading "/" as a switch.
    return { QDir::toNativeSeparators(solution),
        QStringLiteral("/p:Configuration=") + configuration, QStringLiteral("/p:Platform=x64"),
        QStringLiteral("/m"), QStringLiteral("/nologo"), QStringLiteral("/v:minimal"),
        QStringLiteral("/clp:NoSummary") };
}

MSBuildRun::Result MSBuildRun::run(
    ToolRunner &tools, const QString &vsPath, const QString &solution, const QString &configuration)
{
    ToolRunner::Setup setup;
    setup.workingDirectory = QFileInfo(solution).absolutePath();
    setup.encoding = ToolRunner::Encoding::ConsoleCodePage;
    Result result;
    result.run = tools.run(msbuildPath(vsPath), arguments(solution, configuration), setup);
    result.diagnostics = MSBuildDiagnostics::parse(result.run.output);
    for (const BuildDiagnostic &diagnostic : result.diagnostics) {
        if (diagnostic.severity == BuildDiagnostic::Severity::Error)
            ++result.errors;
        else
            ++result.warnings;
    }
    return result;
}
