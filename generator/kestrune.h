#ifndef KESTRUNE_H
#define KESTRUNE_H

#include "buildevents.h"
#include "buildoutcome.h"
#include "buildrecord.h"
#include "tableregeneration.h"
#include "toolrunner.h"
#include "workerthread.h"

#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

class QFileSystemWatcher;
class QTimer;
struct SolutionRequest;

// The engine: lays out the build root, writes the function table and the CMake files, runs CMake
// and cleans the generated solution. It reports by return value only; the window decides what the
// user is told. The work is done by parts that each do one job (BuildRoot, FunctionTable,
// CMakeFiles, CMakeRun, SolutionCleanup, SolutionBuilder); the engine is their front and keeps what
// outlives one call: the recorded build, the watcher of its sources, the tool runner and the
// events.
class CKestrune : public QObject {
    Q_OBJECT

public:
    // Declared beside the parts that fill them; the window and the tests know them by these names.
    using BuildOutcome = ::BuildOutcome;
    using CreateRequest = ::CreateRequest;

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

    // The create command's whole work, started off the engine's thread (after a regeneration in
    // progress); progress, steps and tool output are reported through events(), and the outcome
    // through events()->createFinished. The build is recorded for the watcher as the builders
    // record it. False when a create or a build of the libraries is already running.
    bool startCreate(const CreateRequest &request);
    // The same, returning when it is over; the caller's events go on being processed meanwhile.
    BuildOutcome createSolution(const CreateRequest &request);
    // Ends the tools of a create in progress and stops it after the step it is in; what that step
    // half made is removed. A create still waiting for a regeneration never starts.
    void cancelCreate();
    bool isCreating() const { return creating; }
    BuildEvents *events() const { return buildEvents; }
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

    // The watcher's reaction to a saved source copy, done at once on the calling thread.
    void onSourceFileChanged(const QString &path);
    // What the watcher itself does: a burst of saves gives one regeneration of every variant's
    // table, off the engine's thread, host and node at once, never during a create; the outcome
    // is reported through events()->tablesRegenerated.
    void scheduleRegeneration(const QString &path);
    bool isRegenerating() const { return regenerating; }

    // The source copies the watcher holds (those of the last build).
    QStringList watchedSources() const;

    // A build root made earlier (by this or another start of Kestrune), told by its folder or the
    // project folder above it: its record is read and its sources are watched as after a create.
    // Nothing changes when the record cannot be read.
    BuildRecordFile::Status resumeBuild(const QString &folder, QString *error = nullptr);
    // The record of the last build, created or resumed; empty before either.
    const BuildRecord &recordedBuild() const { return record; }
    // Every variant's function table of the last build written and compiled now, on the calling
    // thread (after a regeneration in progress has ended).
    RegeneratedTables refreshTables();
    // The same off the engine's thread, as after a save; reported through
    // events()->tablesRegenerated.
    void refreshTablesInBackground();
    // Returns once a regeneration in progress has ended and been reported; at once when none runs.
    void waitForRegeneration();

    // The Fluent case folder the recorded build's libraries are laid into; kept in the build
    // root's record. False, with the reason, when the record could not be written.
    bool setCaseFolder(const QString &caseFolder, QString *error = nullptr);
    // The recorded build's solution built with its Visual Studio's MSBuild ("Debug" or "Release"),
    // its tables first brought up to date when a source changed since they were compiled, and
    // each library laid into the case folder; on the calling thread.
    LibraryBuildOutcome buildLibraries(const QString &configuration);
    // The same off the engine's thread, after a regeneration in progress; reported through
    // events()->librariesBuilt. False when there is no recorded build or one is already running.
    bool startLibraryBuild(const QString &configuration);
    // Ends the build's tools; nothing half copied is left in the case folder.
    void cancelLibraryBuild();
    bool isBuildingLibraries() const { return buildingLibraries; }

    // The limits of the cmake and cmd.exe runs. Tests shorten them to exercise a hung tool quickly.
    void setProcessTimeoutsForTesting(int milliseconds);

    // Time spent waiting for cmake and cmd.exe since construction, so that a benchmark can tell
    // the engine's own work from the tools'.
    qint64 externalProcessWaitNs() const;

private:
    // Both build types run one body; they differ only in what the request says.
    bool buildSolution(const SolutionRequest &request);
    void recordBuild(const SolutionRequest &request);
    bool writeBuildRecord();
    void startRegeneration();
    TableRegeneration regenerationJob() const;

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
    BuildRecord record;

    BuildOutcome buildOutcome;

    ToolRunner tools;
    // MSBuild builds for minutes, not seconds, and is cancelled on its own.
    ToolRunner buildTools;
    bool buildingLibraries = false;
    LibraryBuildOutcome libraryBuildOutcome; // written by the build's thread, read after it
    QString pendingLibraryBuild; // the configuration of a build waiting for a regeneration
    WorkerThread libraryBuildThread;
    void runLibraryBuildThread(const QString &configuration);

    // The create under way: its steps run on a thread each, one after the other.
    void startCopyStep();
    void afterCopyStep();
    void runCreateStep(const std::function<void()> &work, const std::function<void()> &then);
    void finishCreate();
    CreateRequest createRequest;
    BuildOutcome createOutcome;
    QStringList createHeaderCopies;
    QStringList createSourceCopies;
    bool createCancelled = false;
    WorkerThread createThread;
    BuildEvents *buildEvents = nullptr;
    bool creating = false;
    bool regenerating = false;
    bool regenerationPending = false;
    QTimer *regenerationTimer = nullptr;
    WorkerThread regenerationThread;
};

#endif // KESTRUNE_H
