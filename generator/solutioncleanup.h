#ifndef SOLUTIONCLEANUP_H
#define SOLUTIONCLEANUP_H

#include <QString>

// What CMake leaves in a build tree besides the projects the user builds: its own files and
// folders, its utility projects (ALL_BUILD, ZERO_CHECK) in the solutions, and the custom build
// steps that would run CMake again from Visual Studio. The CMake inputs are removed as well.
namespace SolutionCleanup {

void clean(const QString &variant, const QString &buildRoot);
void removeCMakeProjectsFromSln(const QString &slnPath);
// The same for Visual Studio 2026's XML solution, keeping every other byte as it was.
void removeCMakeProjectsFromSlnx(const QString &slnxPath);
void removeCustomBuildFromVcxproj(const QString &vcxprojPath);

} // namespace SolutionCleanup

#endif // SOLUTIONCLEANUP_H
