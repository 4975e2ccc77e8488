#include "msbuildcommand.h"

#include <QFileInfo>

namespace {

bool isSolution(const QString &argument)
{
    return argument.endsWith(QLatin1String(".sln"), Qt::CaseInsensitive)
        || argument.endsWith(QLatin1String(".slnx"), Qt::CaseInsensitive);
}

// "/p:A=1;B=2" into the command; false for a property without a value.
bool takeProperties(const QString &list, MSBuildCommand &command)
{
    for (const QString &property : list.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = property.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return false;
        const QString name = property.left(equals).trimmed();
        const QString value = property.mid(equals + 1).trimmed();
        if (name.compare(QLatin1String("Configuration"), Qt::CaseInsensitive) == 0)
            command.configuration = value;
        else if (name.compare(QLatin1String("Platform"), Qt::CaseInsensitive) == 0)
            command.platform = value;
    }
    return true;
}

bool takeSwitch(const QString &name, const QString &value, MSBuildCommand &command)
{
    if (name == QLatin1String("p") || name == QLatin1String("property"))
        return takeProperties(value, command);
    if (name == QLatin1String("v") || name == QLatin1String("verbosity")) {
        command.quiet = value.startsWith(QLatin1Char('q'), Qt::CaseInsensitive);
        return !value.isEmpty();
    }
    if (name == QLatin1String("clp") || name == QLatin1String("consoleloggerparameters")) {
        for (const QString &parameter : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (parameter.compare(QLatin1String("NoSummary"), Qt::CaseInsensitive) == 0)
                command.summary = false;
        }
        return true;
    }
    // Switches that change nothing here: parallel nodes, the logo, node reuse, the target.
    static const QStringList accepted { "m", "maxcpucount", "nologo", "nr", "nodereuse", "t",
        "target" };
    return accepted.contains(name);
}

} // namespace

bool parseMSBuildCommand(const QStringList &arguments, MSBuildCommand &command, QString &error)
{
    for (const QString &argument : arguments) {
        const bool isSwitch = (argument.startsWith(QLatin1Char('/')) && !isSolution(argument))
            || argument.startsWith(QLatin1Char('-'));
        if (!isSwitch) {
            if (!command.solution.isEmpty()) {
                error = QStringLiteral("MSB1008: Only one project can be specified.");
                return false;
            }
            command.solution = argument;
            continue;
        }
        const QString body = argument.mid(1);
        const qsizetype colon = body.indexOf(QLatin1Char(':'));
        const QString name = (colon < 0 ? body : body.left(colon)).toLower();
        if (!takeSwitch(name, colon < 0 ? QString() : body.mid(colon + 1), command)) {
            error = QStringLiteral("MSB1001: Unknown switch.\nSwitch: %1").arg(argument);
            return false;
        }
    }
    if (command.solution.isEmpty() || !QFileInfo(command.solution).isFile()) {
        error = QStringLiteral("MSB1009: Project file does not exist.\nSwitch: %1")
                    .arg(command.solution);
        return false;
    }
    return true;
}
