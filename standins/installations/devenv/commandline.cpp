#include "commandline.h"

#include <algorithm>

namespace {

bool isSolution(const QString &argument)
{
    return argument.endsWith(QLatin1String(".sln"), Qt::CaseInsensitive)
        || argument.endsWith(QLatin1String(".slnx"), Qt::CaseInsensitive);
}

// On this host an absolute path starts with "/" too; a solution is told apart by its extension.
bool isSwitch(const QString &argument)
{
    return argument.startsWith(QLatin1Char('/')) && !isSolution(argument);
}

void takeConfiguration(const QString &value, DevenvCommand &command)
{
    const int bar = value.indexOf(QLatin1Char('|'));
    command.configuration = bar < 0 ? value : value.left(bar);
    command.platform = bar < 0 ? QStringLiteral("x64") : value.mid(bar + 1);
}

bool isBuildSwitch(const QString &argument)
{
    return argument.compare(QLatin1String("/build"), Qt::CaseInsensitive) == 0
        || argument.compare(QLatin1String("/rebuild"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool parseDevenvCommand(const QStringList &arguments, DevenvCommand &command, QString &error)
{
    // Without a build switch Visual Studio opens what it is given; the stand-in only records it.
    if (std::none_of(arguments.begin(), arguments.end(), isBuildSwitch))
        return true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!isSwitch(argument)) {
            if (command.solution.isEmpty())
                command.solution = argument;
            continue;
        }
        const QString name = argument.mid(1).toLower();
        if (name != QLatin1String("build") && name != QLatin1String("rebuild")) {
            error = QStringLiteral("the stand-in devenv does not know the switch %1").arg(argument);
            return false;
        }
        command.action
            = name == QLatin1String("build") ? DevenvCommand::Build : DevenvCommand::Rebuild;
        const bool valueFollows = i + 1 < arguments.size() && !isSwitch(arguments.at(i + 1))
            && !isSolution(arguments.at(i + 1));
        if (valueFollows)
            takeConfiguration(arguments.at(++i), command);
    }
    if (command.action != DevenvCommand::Open && command.solution.isEmpty()) {
        error = QStringLiteral("no solution file (.sln) given to build");
        return false;
    }
    return true;
}
