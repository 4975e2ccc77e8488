#ifndef STANDIN_VSFORMAT_H
#define STANDIN_VSFORMAT_H

#include <QString>
#include <QStringList>

// Small rules of the Visual Studio generators' output, shared by the writers.

QString backslashed(const QString &path);

// GUIDs are name-based (UUID version 3) on "<top binary dir>|<name>", so that a regenerated
// solution keeps them and every ALL_BUILD of one tree shares its GUID.
QString vsGuid(const QString &topBinaryDir, const QString &name);

QString md5Hex(const QString &text);

// An argument as cmd.exe needs it: in double quotes when it holds blanks or cmd's specials.
QString shellArgument(const QString &argument);

QString xmlText(const QString &text);
QString xmlAttribute(const QString &text);

// The project path prefix of a .sln: the target's folder relative to the solution's, with
// backslashes and a final one. Going up yields "..\\" (CMake keeps the "/" its relative path ends
// with before it adds its own separator).
QString solutionRelativeFolder(const QString &solutionDir, const QString &targetDir);

// CMake sorts paths and names as byte strings.
bool lessBytewise(const QString &left, const QString &right);
void sortUniqueBytewise(QStringList &list);

// "<target>_EXPORTS" made a C identifier: a leading digit gets an underscore.
QString exportMacro(const QString &targetName);

#endif // STANDIN_VSFORMAT_H
