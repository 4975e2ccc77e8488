#ifndef KESTRUNE_H
#define KESTRUNE_H

#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

class QFileSystemWatcher;
struct SolutionRequest;

// The engine: lays out the build root, writes the function table and the CMake files, runs CMake
// and cleans the generated solution. It reports by return value only; the window decides what the
// user is told.
class CKestrune : public QObject {
    Q_OBJECT

public:
    // What became of the last whole build; the window tells the user from it.
    struct BuildOutcome {
        enum class CMakeProblem {
            None,
            NotRun, // cmake did not start, or ran past its time limit
            TooOldForGenerator, // the Visual Studio generator needs a newer CMake
            Failed, // cmake ended with an error
            NoSolution, // cmake ended well but wrote no solution
        };
        bool topLevelFileWritten = false;
        QStringList variantsWithoutObject; // variants whose udf_names.obj was not made
        CMakeProblem cmakeProblem = CMakeProblem::None;
        QString cmakeVersion; // the version cmake named when it was too old
        QString solutionPath; // FLUENTUDF.slnx or FLUENTUDF.sln, whichever CMake wrote
        bool succeeded() const
        {
            return topLevelFileWritten && variantsWithoutObject.isEmpty()
                && cmakeProblem == CMakeProblem::None;
        }
    };

    CKestrune();
    ~CKestrune() override;

    // Build root and copies of the picked files.
    int createBuildRoot(QStringList headers, QStringList sources, QString projectFolder,
        QStringList &headerCopies, QStringList &sourceCopies);
    bool copyFileReplacing(const QString &source, QString &target);
    // What of a build root CMake, Visual Studio or cmd cannot take (";", "${", "$(", a network
    // path's "\\\\"); empty when it is usable.
    static QString unusableInBuildRoot(const QString &buildRoot);

    // Whole build trees.
    bool buildCouplingSolution(QStringList headers, QStringList sources, QString variant,
        QString fluentPath, QString edemPath, QString vsPath, QString buildRoot);
    bool buildUdfSolution(QStringList headers, QStringList sources, QString variant,
        QString fluentPath, QString vsPath, QString buildRoot);

    const BuildOutcome &lastBuildOutcome() const;
    // The solution in a build root: FLUENTUDF.slnx (Visual Studio 2026 and later) or
    // FLUENTUDF.sln; empty when there is neither.
    static QString solutionFileOf(const QString &buildRoot);
    // The first CMake version that has the generator, e.g. "4.2" for "Visual Studio 18 2026";
    // empty when every supported CMake has it.
    static QString minimumCMakeVersionFor(const QString &generator);

    // One variant directory: function table, udf_names.obj and CMakeLists.txt.
    bool writeCouplingVariantCMakeLists(const QStringList &headers, const QStringList &sources,
        const QString &variant, const QString &fluentPath, const QString &edemPath,
        const QString &vsPath, const QString &variantDirectory);
    bool writeUdfVariantCMakeLists(const QStringList &headers, const QStringList &sources,
        const QString &variant, const QString &fluentPath, const QString &vsPath,
        const QString &variantDirectory);

    // Fluent's makefile and release numbers: (library release, release), e.g. ("1920", "19.2.0").
    QStringList readFluentIncludeDirs(
        const QString &makefilePath, const QString &fluentPath, const QString &variant);
    static QPair<QString, QString> fluentRelease(const QString &fluentPath);
    // Where a Fluent installation keeps the makefile that lists its include folders.
    static QString fluentMakefilePath(const QString &fluentPath);

    // CMake and the clean-up of what it generated.
    // The CMake generator for a Visual Studio installation ("Visual Studio 17 2022"); empty when
    // its path names no version that Kestrune can generate for.
    static QString visualStudioGenerator(const QString &vsPath);
    bool runCMake(const QString &buildRoot);
    void cleanSolution(const QString &variant, const QString &buildRoot);
    void removeCMakeProjectsFromSln(const QString &slnPath);
    // The same for Visual Studio 2026's XML solution, keeping every other byte as it was.
    void removeCMakeProjectsFromSlnx(const QString &slnxPath);
    void removeCustomBuildFromVcxproj(const QString &vcxprojPath);

    // The UDF function table.
    QStringList findUdfDefinitions(const QString &sourcePath);
    void writeUdfNames(const QStringList &sources, const QString &variantDirectory);
    void compileUdfNames(const QString &variant, const QString &fluentPath, const QString &vsPath,
        const QString &variantDirectory);
    void removeUdfNamesTemporaries(const QString &variantDirectory);

    // The watcher's reaction to a saved source copy.
    void onSourceFileChanged(const QString &path);

    // The source copies the watcher holds (those of the last build).
    QStringList watchedSources() const;

    // The limits of the cmake and cmd.exe runs. Tests shorten them to exercise a hung tool quickly.
    void setProcessTimeoutsForTesting(int milliseconds);

    // Time spent waiting for cmake and cmd.exe since construction, so that a benchmark can tell
    // the engine's own work from the tools'.
    qint64 externalProcessWaitNs() const;

private:
    struct ProcessOutcome {
        bool started = false;
        bool finished = false;
        int exitCode = -1;
        QByteArray output; // what it wrote to its standard output and error, in order
    };
    // How a tool is started: where it runs, and what it finds in its environment besides ours.
    struct ProcessSetup {
        QString workingDirectory;
        QList<QPair<QString, QString>> environment;
    };
    // Runs a program synchronously within the engine's limit, reading none of its output.
    ProcessOutcome runExternalProcess(const QString &program, const QStringList &arguments,
        const ProcessSetup &setup = ProcessSetup());

    struct CMakeRun {
        bool inTime = false; // started and ended within the limits
        BuildOutcome::CMakeProblem problem = BuildOutcome::CMakeProblem::None;
        QString version;
    };
    CMakeRun runCMakeFor(const QString &buildRoot, const QString &vsPath);
    QString cmakeVersion();
    bool isCMakeTooOld(const QString &generator, QString &version);

    // Both build types run one body; they differ only in what the request says.
    bool buildSolution(const SolutionRequest &request);
    void recordBuild(const SolutionRequest &request);
    // Cleans <path>.slnx when CMake wrote one, else <path>.sln.
    void removeCMakeProjects(const QString &solutionWithoutSuffix);

    QFileSystemWatcher *fileWatcher = nullptr;
    QStringList buildHeaders;
    QStringList buildSources;
    QString variant;
    QString fluentPath;
    QString vsPath;
    QString buildRoot;
    // The node variant of a coupling build is built without the adaptor files; its function table
    // must be regenerated from that same list.
    QStringList buildNodeSources;

    BuildOutcome buildOutcome;

    int processTimeoutMs = 30000;
    qint64 processWaitNs = 0;
};

#endif // KESTRUNE_H
