#ifndef CMDVARIABLES_H
#define CMDVARIABLES_H

#include <QProcessEnvironment>
#include <QString>

// Environment variable names are case-insensitive for cmd, while the environment the stand-in
// inherits on Linux is not; these keep cmd's view on top of it.
bool findCmdVariable(const QProcessEnvironment &environment, const QString &name, QString &value);
void setCmdVariable(QProcessEnvironment &environment, const QString &name, const QString &value);

#endif // CMDVARIABLES_H
