#ifndef CMAKERUN_H
#define CMAKERUN_H

#include "buildoutcome.h"
#include "toolrunner.h"

#include <QString>

// CMake run on a build root with the Visual Studio generator that matches the installation; it
// writes the solution into the build root's solution folder.
namespace CMakeRun {

struct Result {
    bool inTime = false; // started and ended within the limits
    // How the cmake run went; FailedToStart too when it was not run at all (see problem).
    ToolRun::Status status = ToolRun::Status::FailedToStart;
    bool cancelled() const { return status == ToolRun::Status::Cancelled; }
    BuildOutcome::CMakeProblem problem = BuildOutcome::CMakeProblem::None;
    QString version; // the version cmake named when it was too old
    QString output;
};
Result run(ToolRunner &tools, const QString &buildRoot, const QString &vsPath);

// The CMake generator for a Visual Studio installation ("Visual Studio 17 2022"); empty when its
// path names no version that Kestrune can generate for.
QString visualStudioGenerator(const QString &vsPath);
// The first CMake version that has the generator, e.g. "4.2" for "Visual Studio 18 2026"; empty
// when every supported CMake has it.
QString minimumVersionFor(const QString &generator);

} // namespace CMakeRun

#endif // CMAKERUN_H
