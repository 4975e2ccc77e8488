#ifndef MSBUILDRUN_H
#define MSBUILDRUN_H

#include "msbuilddiagnostics.h"
#include "toolrunner.h"

#include <QList>
#include <QString>
#include <QStringList>

// A build of the generated solution with the MSBuild of the Visual Studio installation, read into
// its errors and warnings.
namespace MSBuildRun {

// The 64-bit MSBuild.exe of an installation ("/" separated): MSBuild/Current for Visual Studio 2019
// and later and their Build Tools, MSBuild/15.0 for 2017. Whichever exists wins; when neither does,
// the installation's year decides.
QString msbuildPath(const QString &vsPath);

// The solution, the configuration ("Debug" or "Release") for x64, projects built in parallel, and
// each diagnostic printed once, as it happens, without the summary that repeats them.
QStringList arguments(const QString &solution, const QString &configuration);

struct Result {
    ToolRun run;
    QList<BuildDiagnostic> diagnostics;
    int errors = 0;
    int warnings = 0;
    bool succeeded() const { return run.succeeded() && errors == 0; }
};

// Runs within the runner's limits: a caller that builds large libraries raises its timeout first.
Result run(ToolRunner &tools, const QString &vsPath, const QString &solution,
    const QString &configuration);

} // namespace MSBuildRun

#endif // MSBUILDRUN_H
