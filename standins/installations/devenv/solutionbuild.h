#ifndef DEVENV_SOLUTIONBUILD_H
#define DEVENV_SOLUTIONBUILD_H

#include <QString>
#include <QStringList>

// A build of a whole solution, shared by the stand-in devenv.exe and MSBuild.exe: each project the
// configuration selects, in the order of their dependencies.
struct SolutionBuild {
    int succeeded = 0;
    int failed = 0;
};

// The configuration is empty for the solution's first; the platform defaults to x64. False, with
// the error printed, when the solution cannot be read or lacks the configuration.
bool buildSolution(const QString &solutionPath, const QString &configuration,
    const QString &platform, SolutionBuild &build);

// Appends the arguments, joined by tabs, to the log beside the program, so that tests can see how
// it was started.
bool recordStart(const QString &logName, const QStringList &arguments);

#endif // DEVENV_SOLUTIONBUILD_H
