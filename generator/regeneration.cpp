#include "kestrune.h"

#include "buildtree.h"
#include "functiontable.h"
#include "kestrunelog.h"
#include "tableregeneration.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileSystemWatcher>
#include <QTimer>

void CKestrune::scheduleRegeneration(const QString &path)
{
    qCDebug(lcKestrune) << path << "文件被修改！";
    // An editor that saves by renaming over the file drops it from the watch; adding it back keeps
    // it watched across saves.
    fileWatcher->removePath(path);
    fileWatcher->addPath(path);
    if (variant.isEmpty())
        return;
    regenerationPending = true;
    regenerationTimer->start();
}

// A copy of the recorded build, so that the regeneration needs nothing of the engine meanwhile.
TableRegeneration CKestrune::regenerationJob() const
{
    TableRegeneration job { BuildTree::variantsOfBuild(variant), {}, {}, fluentPath, vsPath };
    for (const QString &name : job.variants) {
        job.sources.append(name == variant ? buildSources : buildNodeSources);
        job.folders.append(BuildTree::variantFolder(buildRoot, name));
    }
    return job;
}

// Host and node tables are built at once, each with its own compiler; a create waits for the
// regeneration to end, and a regeneration asked for during a create starts after it.
void CKestrune::startRegeneration()
{
    if (creating || regenerating || buildingLibraries || !regenerationPending)
        return;
    regenerationPending = false;
    regenerating = true;
    tools.reset();

    const TableRegeneration job = regenerationJob();
    regenerationThread.start(
        this,
        [&tools = tools, &events = *buildEvents, job] { regenerateTables(tools, events, job); },
        [this] {
            regenerating = false;
            if (creating && !createThread.isRunning())
                startCopyStep();
            else if (!pendingLibraryBuild.isEmpty())
                runLibraryBuildThread(pendingLibraryBuild);
            else if (regenerationPending)
                regenerationTimer->start();
        });
}

void CKestrune::onSourceFileChanged(const QString &path)
{
    qCDebug(lcKestrune) << path << "文件被修改！";
    fileWatcher->removePath(path);
    fileWatcher->addPath(path);

    if (variant.isEmpty()) {
        qCDebug(lcKestrune) << "No build yet; nothing to regenerate";
        return;
    }
    for (const QString &name : BuildTree::variantsOfBuild(variant)) {
        const QString folder = BuildTree::variantFolder(buildRoot, name);
        // The node library of a coupling build holds no adaptor file, so neither may its table.
        const QStringList &sources = name == variant ? buildSources : buildNodeSources;
        FunctionTable::write(sources, folder);
        FunctionTable::compile(tools, name, fluentPath, vsPath, folder);
        FunctionTable::removeTemporaries(folder);
    }
}

void CKestrune::refreshTablesInBackground()
{
    if (variant.isEmpty())
        return;
    regenerationPending = true;
    startRegeneration();
}

RegeneratedTables CKestrune::refreshTables()
{
    if (variant.isEmpty())
        return {};
    regenerationThread.wait();
    tools.reset();
    return regenerateTables(tools, *buildEvents, regenerationJob());
}

void CKestrune::waitForRegeneration()
{
    if (!regenerationThread.isRunning())
        return;
    regenerationThread.wait();
    // Its reports and its end reach this thread queued.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}
