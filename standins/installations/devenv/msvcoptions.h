#ifndef DEVENV_MSVCOPTIONS_H
#define DEVENV_MSVCOPTIONS_H

#include <QHash>
#include <QString>
#include <QStringList>

using Settings = QHash<QString, QString>;

// The cl options that MSBuild's CL task would pass for a project's ClCompile settings (values
// already expanded), for one source compiled as compileAs (CompileAsC, CompileAsCpp or empty).
// Settings the stand-in cannot honour give false and a message.
bool compilerOptions(
    const Settings &clCompile, const QString &compileAs, QStringList &options, QString &error);

// The link options of a project's Link settings apart from its inputs, output, import library
// and library folders, which the builder resolves itself.
QStringList linkerOptions(const Settings &link);

#endif // DEVENV_MSVCOPTIONS_H
