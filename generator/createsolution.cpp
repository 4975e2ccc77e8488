#include "kestrune.h"

#include "buildrecord.h"
#include "buildroot.h"
#include "buildtree.h"
#include "solutionbuilder.h"
#include "solutionrequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <functional>

namespace {

// Runs the work on a thread of its own and keeps this thread's events flowing until it is done.
void runOffThisThread(const std::function<void()> &work)
{
    QEventLoop loop;
    QThread *thread = QThread::create(work);
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
}

// The copy step of a create: the build root laid out off this thread; returns BuildRoot::create's
// result.
int layOutBuildRoot(BuildEvents &events, const CreateRequest &request, QStringList &headerCopies,
    QStringList &sourceCopies, QStringList &kept)
{
    QElapsedTimer clock;
    clock.start();
    emit events.stepStarted(BuildEvents::Step::CopyFiles, QString());
    int result = 0;
    runOffThisThread([&] {
        if (request.regenerateInPlace) {
            result = BuildRoot::createKeepingCopies(request.headers, request.sources,
                request.projectFolder, headerCopies, sourceCopies, kept);
        } else {
            result = BuildRoot::create(request.headers, request.sources, request.projectFolder,
                headerCopies, sourceCopies);
        }
    });
    emit events.stepFinished(BuildEvents::Step::CopyFiles, QString(), result == 0, clock.elapsed());
    if (result == 0)
        emit events.progressChanged(65);
    return result;
}

SolutionRequest solutionRequestOf(
    const CreateRequest &request, const QStringList &headerCopies, const QStringList &sourceCopies)
{
    return { request.buildType == CreateRequest::BuildType::CouplingEuler, headerCopies,
        sourceCopies, request.variant, request.fluentPath, request.edemPath, request.vsPath,
        BuildTree::root(request.projectFolder) };
}

// What an earlier build generated and the new one would not make again: the solution, which CMake
// writes anew, and the folders of variants no longer built. Only generated files are removed; the
// copies in src and include are the user's and are never touched.
void removeEarlierBuild(const QString &root, const QString &newVariant)
{
    QDir(BuildTree::solutionFolder(root)).removeRecursively();
    BuildRecord earlier;
    if (BuildRecordFile::read(root, earlier) != BuildRecordFile::Status::Read)
        return;
    const QStringList kept = BuildTree::variantsOfBuild(newVariant);
    for (const QString &name : BuildTree::variantsOfBuild(earlier.variant)) {
        if (kept.contains(name))
            continue;
        const QString folder = BuildTree::variantFolder(root, name);
        for (const QString &file : { BuildTree::functionTableObject(folder),
                 BuildTree::functionTableSource(folder), BuildTree::compileBatch(folder),
                 BuildTree::variantCMakeLists(folder) })
            QFile::remove(file);
        QDir().rmdir(folder);
    }
}

} // namespace

CKestrune::BuildOutcome CKestrune::createSolution(const CreateRequest &request)
{
    // A regeneration writes the very tables the build is about to write.
    while (regenerating)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    creating = true;
    tools.reset();

    BuildOutcome outcome;
    QStringList headerCopies, sourceCopies;
    outcome.buildRootResult = layOutBuildRoot(
        *buildEvents, request, headerCopies, sourceCopies, outcome.keptCopies);
    if (outcome.buildRootResult == 0 && request.buildType != CreateRequest::BuildType::LayoutOnly) {
        if (tools.isCancelled()) {
            outcome.cancelled = true;
        } else {
            const SolutionRequest solution = solutionRequestOf(request, headerCopies, sourceCopies);
            recordBuild(solution);
            const SolutionBuilder builder(tools, *buildEvents);
            runOffThisThread([&] {
                if (request.regenerateInPlace)
                    removeEarlierBuild(solution.buildRoot, solution.variant);
                outcome = builder.build(solution, outcome);
            });
            if (outcome.succeeded())
                outcome.recordWritten = writeBuildRecord();
        }
    }
    buildOutcome = outcome;
    creating = false;
    // Saves made during the build are regenerated now, from the build just made.
    if (regenerationPending)
        regenerationTimer->start();
    return outcome;
}

void CKestrune::cancelCreate()
{
    if (creating)
        tools.cancel();
}
