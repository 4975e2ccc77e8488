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
    CKestrune();
    ~CKestrune() override;

    // Build root and copies of the picked files.
    int createBuildRoot(QStringList headers, QStringList sources, QString projectFolder,
        QStringList &headerCopies, QStringList &sourceCopies);
    bool copyFileReplacing(const QString &source, QString &target);

    // Whole build trees.
    bool buildCouplingSolution(QStringList headers, QStringList sources, QString variant,
        QString fluentPath, QString edemPath, QString vsPath, QString buildRoot);
    bool buildUdfSolution(QStringList headers, QStringList sources, QString variant,
        QString fluentPath, QString vsPath, QString buildRoot);

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
    };
    // Runs a program synchronously within the engine's limit, reading none of its output.
    ProcessOutcome runExternalProcess(const QString &program, const QStringList &arguments);

    // Both build types run one body; they differ only in what the request says.
    bool buildSolution(const SolutionRequest &request);
    void recordBuild(const SolutionRequest &request);

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

    int processTimeoutMs = 30000;
    qint64 processWaitNs = 0;
};

#endif // KESTRUNE_H
