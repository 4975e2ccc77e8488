// A stand-in for MSBuild.exe building a solution: `MSBuild.exe <solution> /p:Configuration=Debug
// /p:Platform=x64 /m /nologo /v:minimal /clp:NoSummary`. It builds through the same code as the
// stand-in devenv (clang-cl and lld-link in place of cl and link) and prints as MSBuild does at
// minimal verbosity: every diagnostic in the canonical form "file(line,col): error C2065: text
// [project]", compiler messages with cl's codes, link errors with LNK codes, then, unless
// /clp:NoSummary, the summary that repeats them. Output is in code page 936. Each start is
// recorded in "MSBuild.log" beside the program. Exit status 0 on success, 1 when a project failed.
#include "buildoutput.h"
#include "msbuildcommand.h"
#include "solutionbuild.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

void printSummary(bool succeeded)
{
    BuildOutput::plain(QString());
    BuildOutput::plain(
        succeeded ? QStringLiteral("Build succeeded.") : QStringLiteral("Build FAILED."));
    BuildOutput::plain(QString());
    const QStringList warnings = BuildOutput::printedWarnings();
    const QStringList errors = BuildOutput::printedErrors();
    for (const QString &line : warnings + errors)
        BuildOutput::plain(QStringLiteral("  ") + line);
    BuildOutput::plain(QString());
    BuildOutput::plain(QStringLiteral("    %1 Warning(s)").arg(warnings.size()));
    BuildOutput::plain(QStringLiteral("    %1 Error(s)").arg(errors.size()));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (!recordStart(QStringLiteral("MSBuild.log"), arguments))
        return 1;
    MSBuildCommand command;
    QString error;
    const bool understood = parseMSBuildCommand(arguments, command, error);
    BuildOutput::setStyle(BuildOutput::Style::MSBuild, command.quiet);
    if (!understood) {
        BuildOutput::plain(QStringLiteral("MSBUILD : error ") + error);
        return 1;
    }
    SolutionBuild build;
    const bool succeeded
        = buildSolution(command.solution, command.configuration, command.platform, build)
        && build.failed == 0;
    if (command.summary)
        printSummary(succeeded);
    return succeeded ? 0 : 1;
}
