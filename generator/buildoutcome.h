#ifndef BUILDOUTCOME_H
#define BUILDOUTCOME_H

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
    bool succeeded() const
    {
        return buildRootResult == 0 && !cancelled && topLevelFileWritten
            && variantsWithoutObject.isEmpty() && cmakeProblem == CMakeProblem::None;
    }
};

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
};

#endif // BUILDOUTCOME_H
