// kestrune-cli: the engine of Kestrune without its window, for scripts, batch jobs and logins
// without a desktop.
#include "clicommands.h"
#include "clioptions.h"
#include "console.h"

#include <QCoreApplication>
#include <QLoggingCategory>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // Standard error carries the failure's message; the engine's debug log stays off unless
    // QT_LOGGING_RULES switches it on.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false\nkestrune.debug=false"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrune-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUNE_VERSION));

    CliOptions options;
    QString error;
    if (!parseCliOptions(QCoreApplication::arguments().mid(1), options, error)) {
        Console::errorLine(QStringLiteral("kestrune-cli: ") + error);
        Console::errorLine(QStringLiteral("Try 'kestrune-cli --help'."));
        return 2;
    }
    switch (options.command) {
    case CliOptions::Command::Help:
        Console::out(cliUsage());
        return 0;
    case CliOptions::Command::Version:
        Console::outLine(QStringLiteral("kestrune-cli " KESTRUNE_VERSION));
        return 0;
    case CliOptions::Command::Create:
        return runCreate(options);
    case CliOptions::Command::Refresh:
        return runRefresh(options);
    case CliOptions::Command::Watch:
        return runWatch(options);
    case CliOptions::Command::Build:
        return runBuild(options);
    }
    return 2;
}
