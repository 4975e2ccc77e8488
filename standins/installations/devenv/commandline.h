#ifndef DEVENV_COMMANDLINE_H
#define DEVENV_COMMANDLINE_H

#include <QString>
#include <QStringList>

// What devenv.exe was asked to do: open a solution (no switch), or build it.
struct DevenvCommand {
    enum Action { Open, Build, Rebuild };
    Action action = Open;
    QString solution;
    QString configuration; // empty: the solution's first configuration
    QString platform;
};

// Reads `devenv.exe <solution.sln> /Build "<Configuration>|<Platform>"` and its variants: a .slnx
// in place of the .sln, switches in any letter case, the configuration with or without its
// platform (x64 when left out), the solution before or after the switch. False with a message when
// the line cannot be a build.
bool parseDevenvCommand(const QStringList &arguments, DevenvCommand &command, QString &error);

#endif // DEVENV_COMMANDLINE_H
