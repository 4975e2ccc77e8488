#include "clioptions.h"

#include <QHash>

namespace {

struct ValueOption {
    QString CliOptions::*member;
    QStringList allowed; // empty: any value
};

const QHash<QString, ValueOption> &createOptions()
{
    static const QHash<QString, ValueOption> options {
        { "--project", { &CliOptions::projectFolder, {} } },
        { "--type", { &CliOptions::type, { "udf", "euler", "dpm" } } },
        { "--dimension", { &CliOptions::dimension, { "3d", "2d" } } },
        { "--precision", { &CliOptions::precision, { "double", "single" } } },
        { "--mode", { &CliOptions::mode, { "parallel", "serial" } } },
        { "--fluent", { &CliOptions::fluentPath, {} } },
        { "--vs", { &CliOptions::vsPath, {} } },
        { "--edem", { &CliOptions::edemPath, {} } },
    };
    return options;
}

const QHash<QString, ValueOption> &buildOptions()
{
    static const QHash<QString, ValueOption> options {
        { "--config", { &CliOptions::configuration, { "Debug", "Release" } } },
        { "--case", { &CliOptions::caseFolder, {} } },
    };
    return options;
}

// "--name value" and "--name=value" alike.
bool takeValue(const QStringList &arguments, int &i, const QHash<QString, ValueOption> &known,
    CliOptions &options, QString &error)
{
    QString name = arguments.at(i);
    QString value;
    bool hasValue = false;
    const int equals = name.indexOf('=');
    if (equals > 0) {
        value = name.mid(equals + 1);
        name = name.left(equals);
        hasValue = true;
    }
    const auto option = known.constFind(name);
    if (option == known.constEnd()) {
        error = QStringLiteral("unknown option: %1").arg(name);
        return false;
    }
    if (!hasValue) {
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("missing value for %1").arg(name);
            return false;
        }
        value = arguments.at(++i);
    }
    if (!option->allowed.isEmpty() && !option->allowed.contains(value)) {
        error = QStringLiteral("%1 takes one of %2, not \"%3\"")
                    .arg(name, option->allowed.join(QLatin1Char('|')), value);
        return false;
    }
    options.*(option->member) = value;
    return true;
}

bool parseCreate(const QStringList &arguments, CliOptions &options, QString &error)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--regenerate")) {
            options.regenerate = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            if (!takeValue(arguments, i, createOptions(), options, error))
                return false;
        } else {
            options.files.append(argument);
        }
    }
    if (options.projectFolder.isEmpty()) {
        error = QStringLiteral("create needs --project FOLDER");
        return false;
    }
    if (options.files.isEmpty()) {
        error = QStringLiteral("create needs at least one FILE");
        return false;
    }
    return true;
}

// refresh, watch and build take the build root and, for build, its options.
bool parseRootCommand(const QStringList &arguments, const QHash<QString, ValueOption> &known,
    CliOptions &options, QString &error)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.startsWith(QLatin1String("--"))) {
            if (!takeValue(arguments, i, known, options, error))
                return false;
        } else if (options.root.isEmpty()) {
            options.root = argument;
        } else {
            error = QStringLiteral("unexpected argument: %1").arg(argument);
            return false;
        }
    }
    if (options.root.isEmpty()) {
        error = QStringLiteral("%1 needs ROOT, the project folder or its build root")
                    .arg(arguments.first());
        return false;
    }
    return true;
}

} // namespace

bool parseCliOptions(const QStringList &arguments, CliOptions &options, QString &error)
{
    options = CliOptions();
    const QString command = arguments.value(0);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")
        || command == QLatin1String("help")) {
        options.command = CliOptions::Command::Help;
        return true;
    }
    if (command == QLatin1String("--version")) {
        options.command = CliOptions::Command::Version;
        return true;
    }
    if (command == QLatin1String("create")) {
        options.command = CliOptions::Command::Create;
        return parseCreate(arguments, options, error);
    }
    static const QHash<QString, CliOptions::Command> rootCommands {
        { "refresh", CliOptions::Command::Refresh },
        { "watch", CliOptions::Command::Watch },
        { "build", CliOptions::Command::Build },
    };
    if (rootCommands.contains(command)) {
        options.command = rootCommands.value(command);
        const QHash<QString, ValueOption> none;
        return parseRootCommand(arguments,
            options.command == CliOptions::Command::Build ? buildOptions() : none, options, error);
    }
    error = command.isEmpty() ? QStringLiteral("no command given")
                              : QStringLiteral("unknown command: %1").arg(command);
    return false;
}

QString cliUsage()
{
    return QStringLiteral(
        "Usage:\n"
        "  kestrune-cli create --project FOLDER [--type udf|euler|dpm] [--dimension 3d|2d]\n"
        "               [--precision double|single] [--mode parallel|serial]\n"
        "               [--fluent PATH] [--vs PATH] [--edem PATH] [--regenerate] FILE...\n"
        "      Lays out FOLDER/buildByVarnholt with copies of the files (names ending in \"h\"\n"
        "      are headers), writes and compiles the function tables and makes the Visual\n"
        "      Studio solution. Absent options take the window's defaults (udf, 3d, double,\n"
        "      parallel); absent paths come from ../ini/settings.json, then from the machine.\n"
        "      --regenerate makes an existing solution again in place, keeping the copies in\n"
        "      src and include as they are.\n"
        "  kestrune-cli refresh ROOT\n"
        "      Writes and compiles every variant's udf_names.obj from the recorded build.\n"
        "  kestrune-cli watch ROOT\n"
        "      Refreshes, then regenerates the tables whenever a source copy is saved, one line\n"
        "      per regeneration, until interrupted (Ctrl+C).\n"
        "  kestrune-cli build ROOT [--config Debug|Release] [--case FOLDER]\n"
        "      Builds the solution with MSBuild and lays each libudf.dll into the case folder.\n"
        "  kestrune-cli --help | --version\n"
        "ROOT is a project folder or its build root (buildByVarnholt).\n"
        "Exit status: 0 done, 1 the work failed, 2 a usage error.\n");
}
