#ifndef DEVENV_TOOLRUN_H
#define DEVENV_TOOLRUN_H

#include <QString>
#include <QStringList>

// Runs a compiler or linker in a folder and waits for it, with its output on both channels.
// The status is -1 when it did not start or not finish in time.
int runTool(
    const QString &program, const QStringList &arguments, const QString &folder, QString &output);

#endif // DEVENV_TOOLRUN_H
