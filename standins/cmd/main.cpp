// A stand-in for cmd.exe on hosts without Windows: runs "cmd.exe /c <batch file>" for the batch
// files that the system writes, and refuses everything else.
#include "codepage.h"
#include "commandrunner.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() != 2
        || arguments.at(0).compare(QLatin1String("/c"), Qt::CaseInsensitive) != 0) {
        fputs(
            "cmd.exe stand-in: unsupported command line: only \"/c <batch file>\" runs\n", stderr);
        return CommandRunner::refusedStatus;
    }
    const ConsoleCodePage codePage
        = ConsoleCodePage::fromEnvironment(QProcessEnvironment::systemEnvironment());
    if (!codePage.isValid()) {
        fputs("cmd.exe stand-in: unsupported code page in KESTRUNE_CMD_CODEPAGE\n", stderr);
        return CommandRunner::refusedStatus;
    }
    CommandRunner runner(codePage);
    return runner.runBatchFile(arguments.at(1));
}
