#include "kestrune.h"

#include "librarybuild.h"

#include <QFileInfo>
#include <QTimer>

// Only a build whose record is on disk (one that made its solution) takes a case folder.
bool CKestrune::setCaseFolder(const QString &caseFolder, QString *error)
{
    if (record.buildRoot.isEmpty() || !QFileInfo::exists(BuildRecordFile::path(record.buildRoot))) {
        if (error)
            *error = QStringLiteral("no recorded build");
        return false;
    }
    record.caseFolder = caseFolder;
    return BuildRecordFile::write(record, error);
}

LibraryBuildOutcome CKestrune::buildLibraries(const QString &configuration)
{
    waitForRegeneration();
    buildTools.reset();
    return LibraryBuild::run(buildTools, *buildEvents, record, regenerationJob(), configuration);
}

// A regeneration writes the very tables the build may bring up to date: the build waits for it,
// and saves during the build are regenerated after it.
bool CKestrune::startLibraryBuild(const QString &configuration)
{
    if (variant.isEmpty() || buildingLibraries || creating)
        return false;
    buildingLibraries = true;
    if (regenerating) {
        pendingLibraryBuild = configuration;
        return true;
    }
    runLibraryBuildThread(configuration);
    return true;
}

void CKestrune::runLibraryBuildThread(const QString &configuration)
{
    pendingLibraryBuild.clear();
    buildTools.reset();
    libraryBuildThread.start(
        this,
        [this, configuration, job = regenerationJob(), recorded = record] {
            libraryBuildOutcome
                = LibraryBuild::run(buildTools, *buildEvents, recorded, job, configuration);
        },
        [this] {
            // Told once the engine is free again, so that a listener may start the next work.
            buildingLibraries = false;
            emit buildEvents->librariesBuilt(libraryBuildOutcome);
            if (regenerationPending)
                regenerationTimer->start();
        });
}

void CKestrune::cancelLibraryBuild()
{
    if (!buildingLibraries)
        return;
    if (!libraryBuildThread.isRunning()) {
        // Still waiting for a regeneration: it never starts.
        pendingLibraryBuild.clear();
        buildingLibraries = false;
        LibraryBuildOutcome outcome;
        outcome.problem = LibraryBuildOutcome::Problem::Cancelled;
        emit buildEvents->librariesBuilt(outcome);
        return;
    }
    buildTools.cancel();
}
