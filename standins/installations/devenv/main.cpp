// A stand-in for Visual Studio's devenv.exe. Every start is recorded in "devenv.log" beside the
// program (one line per start, the arguments joined by tabs), so that tests can see how it was
// started. Without a build switch that is all it does, as Visual Studio would only open the
// solution. With `devenv.exe <solution.sln> /Build "<Configuration>|x64"` (or /Rebuild, and a .slnx
// in place of the .sln) it builds the solution's projects the way Visual Studio does, with clang-cl
// and lld-link in place of cl and link, and prints Visual Studio's output and summary.
#include "buildoutput.h"
#include "commandline.h"
#include "solutionbuild.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

int build(const DevenvCommand &command)
{
    SolutionBuild build;
    if (!buildSolution(command.solution, command.configuration, command.platform, build))
        return 1;
    const bool rebuild = command.action == DevenvCommand::Rebuild;
    BuildOutput::plain(
        QStringLiteral("========== %1: %2 succeeded, %3 failed, %4skipped ==========")
            .arg(rebuild ? QStringLiteral("Rebuild All") : QStringLiteral("Build"))
            .arg(build.succeeded)
            .arg(build.failed)
            .arg(rebuild ? QStringLiteral("0 ") : QStringLiteral("0 up-to-date, 0 ")));
    return build.failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (!recordStart(QStringLiteral("devenv.log"), arguments))
        return 1;
    DevenvCommand command;
    QString error;
    if (!parseDevenvCommand(arguments, command, error)) {
        BuildOutput::toolError(error);
        return 1;
    }
    return command.action == DevenvCommand::Open ? 0 : build(command);
}
