// A stand-in for Visual Studio's devenv.exe. Every start is recorded in "devenv.log" beside the
// program (one line per start, the arguments joined by tabs), so that tests can see how it was
// started. Without a build switch that is all it does, as Visual Studio would only open the
// solution. With `devenv.exe <solution.sln> /Build "<Configuration>|x64"` (or /Rebuild, and a .slnx
// in place of the .sln) it builds the solution's projects the way Visual Studio does, with clang-cl
// and lld-link in place of cl and link, and prints Visual Studio's output and summary.
#include "buildoutput.h"
#include "commandline.h"
#include "projectbuilder.h"
#include "solutionfile.h"
#include "toolchain.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

bool recordStart(const QStringList &arguments)
{
    QFile log(QCoreApplication::applicationDirPath() + QStringLiteral("/devenv.log"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fprintf(stderr, "devenv stand-in: cannot open %s: %s\n", qPrintable(log.fileName()),
            qPrintable(log.errorString()));
        return false;
    }
    const QByteArray line = arguments.join(QLatin1Char('\t')).toUtf8() + '\n';
    if (log.write(line) != line.size() || !log.flush()) {
        fprintf(stderr, "devenv stand-in: cannot write %s: %s\n", qPrintable(log.fileName()),
            qPrintable(log.errorString()));
        return false;
    }
    return true;
}

void fail(const QString &message)
{
    BuildOutput::plain(QStringLiteral("error : ") + message);
}

// The solution configuration to build: the one asked for, else the solution's first.
bool chooseConfiguration(
    const DevenvCommand &command, const SolutionFile &solution, QString &configuration)
{
    configuration = command.configuration.isEmpty()
        ? solution.configurations.value(0)
        : command.configuration + QLatin1Char('|') + command.platform;
    for (const QString &known : solution.configurations) {
        if (known.compare(configuration, Qt::CaseInsensitive) == 0) {
            configuration = known;
            return true;
        }
    }
    fail(QStringLiteral("Invalid solution configuration \"%1\". The solution offers: %2.")
             .arg(configuration, solution.configurations.join(QStringLiteral(", "))));
    return false;
}

int build(const DevenvCommand &command)
{
    SolutionFile solution;
    QString error;
    Toolchain toolchain;
    QString configuration;
    if (!readSolutionFile(command.solution, solution, error) || !findToolchain(toolchain, error)) {
        fail(error);
        return 1;
    }
    if (!chooseConfiguration(command, solution, configuration))
        return 1;
    const QString solutionFolder = QFileInfo(command.solution).absolutePath();
    int succeeded = 0;
    int failed = 0;
    int number = 0;
    for (const SolutionProject &project : projectsToBuild(solution, configuration)) {
        const QString projectConfiguration = solution.activeConfigurations.value(
            project.guid + QLatin1Char('.') + configuration, configuration);
        if (buildProject(project, projectConfiguration, solutionFolder, toolchain, ++number))
            ++succeeded;
        else
            ++failed;
    }
    const bool rebuild = command.action == DevenvCommand::Rebuild;
    BuildOutput::plain(
        QStringLiteral("========== %1: %2 succeeded, %3 failed, %4skipped ==========")
            .arg(rebuild ? QStringLiteral("Rebuild All") : QStringLiteral("Build"))
            .arg(succeeded)
            .arg(failed)
            .arg(rebuild ? QStringLiteral("0 ") : QStringLiteral("0 up-to-date, 0 ")));
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (!recordStart(arguments))
        return 1;
    DevenvCommand command;
    QString error;
    if (!parseDevenvCommand(arguments, command, error)) {
        fail(error);
        return 1;
    }
    return command.action == DevenvCommand::Open ? 0 : build(command);
}
