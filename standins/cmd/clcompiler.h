#ifndef CLCOMPILER_H
#define CLCOMPILER_H

#include <QProcessEnvironment>
#include <QStringList>

// Runs a "cl" command line with clang-cl for the x64 Windows target, so that the objects are real
// x64 COFF objects; paths on drive Z: become host paths. Gives cl's exit status, or -1 with the
// reason in error when clang-cl cannot run at all. Logs the arguments first (appendClLog).
int runClWithClangCl(
    const QStringList &clArguments, const QProcessEnvironment &environment, QString &error);

// When KESTRUNE_CL_LOG names a file, appends the arguments cl received to it, in UTF-8: a line
// "cl <count>", then one line per argument. Tests read it to see what a batch file passed.
bool appendClLog(
    const QStringList &clArguments, const QProcessEnvironment &environment, QString &error);

// The clang-cl command line for a cl command line: the target, the options in their order, then
// "--" and the input files, so that absolute POSIX paths are not read as options.
bool clangClArguments(const QStringList &clArguments, QStringList &arguments, QString &error);

#endif // CLCOMPILER_H
