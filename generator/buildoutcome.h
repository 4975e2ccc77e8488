#ifndef BUILDOUTCOME_H
#define BUILDOUTCOME_H

#include "fileresult.h"
#include "solutioncleanup.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

// What became of the last whole build; the window tells the user from it.
struct BuildOutcome {
    enum class CMakeProblem {
        None,
        NotRun, // cmake did not start, or ran past its time limit
        TooOldForGenerator, // the Visual Studio generator needs a newer CMake
        Failed, // cmake ended with an error
        NoSolution, // cmake ended well but wrote no solution
    };
    int buildRootResult = 0; // createBuildRoot's: 0, or 1 (a folder), 2 (a copy) failed
    bool cancelled = false;
    bool topLevelFileWritten = false;
    QStringList variantsWithoutObject; // variants whose udf_names.obj was not made
    CMakeProblem cmakeProblem = CMakeProblem::None;
    QString cmakeVersion; // the version cmake named when it was too old
    QString solutionPath; // FLUENTUDF.slnx or FLUENTUDF.sln, whichever CMake wrote
    QString compilerMessage; // what cl said when a function table failed to compile
    QString cmakeMessage; // what cmake said when it failed
    // Copies in src and include that a regeneration in place kept although the picked file
    // differs: they hold the user's edits.
    QStringList keptCopies;
    bool recordWritten = false; // the build root's record of the build, for a later resume
    // Every generated file that could not be written whole (a full disk, a read-only file), with
    // the reason; each is as it was before. The clean-up's own failures are in cleanup.
    FileResults failedWrites;
    // What the clean-up removed and rewrote, and what it could not read, rewrite or remove. A
    // solution it could not clean still holds CMake's own projects and custom build steps.
    SolutionCleanup::Result cleanup;
    bool succeeded() const
    {
        return buildRootResult == 0 && !cancelled && topLevelFileWritten
            && variantsWithoutObject.isEmpty() && cmakeProblem == CMakeProblem::None
            && failedWrites.isEmpty() && cleanup.succeeded();
    }
};

Q_DECLARE_METATYPE(BuildOutcome)

// What the create command asks for: the build root laid out with copies of the picked files, then
// the whole solution of one build type (none for a layout only).
struct CreateRequest {
    enum class BuildType { FluentUdf, CouplingEuler, LayoutOnly };
    BuildType buildType = BuildType::FluentUdf;
    QStringList headers;
    QStringList sources;
    QString projectFolder; // the build root goes below it
    QString variant;
    QString fluentPath;
    QString edemPath;
    QString vsPath;
    // An existing build root is made again in place: the copies already in src and include are
    // kept as they are, the variant folders and the solution are made anew.
    bool regenerateInPlace = false;
};

#endif // BUILDOUTCOME_H
