#ifndef SOLUTIONCLEANUP_H
#define SOLUTIONCLEANUP_H

#include "fileresult.h"

#include <QString>
#include <QStringList>

// What CMake leaves in a build tree besides the projects the user builds: its own files and
// folders, its utility projects (ALL_BUILD, ZERO_CHECK) in the solutions, and the custom build
// steps that would run CMake again from Visual Studio. The CMake inputs are removed as well.
//
// A file is rewritten whole or left as it was; one that cannot be read or written (a full disk, a
// file made read-only) is reported, never emptied.
namespace SolutionCleanup {

struct Result {
    QStringList removedFiles;
    QStringList removedFolders;
    QStringList rewrittenFiles;
    // Files it could not read, rewrite or remove, and why; each is as it was.
    FileResults failures;
    bool succeeded() const { return failures.isEmpty(); }
};

Result clean(const QString &variant, const QString &buildRoot);
// What is left of a CMake run that did not end well: the CMake inputs and the solution folder,
// so that nothing half written passes for a solution.
Result discardCMakeOutput(const QString &variant, const QString &buildRoot);

// The file, and why it is as it was when it could not be read or rewritten.
FileResult removeCMakeProjectsFromSln(const QString &slnPath);
// The same for Visual Studio 2026's XML solution, keeping every other byte as it was.
FileResult removeCMakeProjectsFromSlnx(const QString &slnxPath);
FileResult removeCustomBuildFromVcxproj(const QString &vcxprojPath);

// The pieces of the above, adding what they do to a result.
void cleanSln(const QString &slnPath, Result &result);
void cleanSlnx(const QString &slnxPath, Result &result);
void cleanVcxproj(const QString &vcxprojPath, Result &result);

} // namespace SolutionCleanup

#endif // SOLUTIONCLEANUP_H
