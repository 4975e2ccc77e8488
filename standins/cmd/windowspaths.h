#ifndef WINDOWSPATHS_H
#define WINDOWSPATHS_H

#include <QString>
#include <QStringList>

// The stand-in sees the host's files the way Wine shows them to Windows programs: the host's root
// is drive Z:, and a path that starts with a backslash (or a slash) lies on that drive.

// The host path of a path as a batch file spells it, relative ones kept relative; false, with the
// reason in error, for a drive other than Z:.
bool hostPath(const QString &windowsPath, QString &path, QString &error);

// The Windows spelling of an absolute host path: "/tmp/a b" gives "Z:\tmp\a b".
QString windowsPath(const QString &hostAbsolutePath);

// Compiler arguments with every Z: path in them turned into a host path, so that clang-cl on the
// host finds what %~dp0 or %CD% named ("/FoZ:\out\a.obj" gives "/Fo/out/a.obj").
QStringList hostArguments(const QStringList &arguments);

#endif // WINDOWSPATHS_H
