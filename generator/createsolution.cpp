#include "kestrune.h"

#include "buildrecord.h"
#include "buildroot.h"
#include "buildtree.h"
#include "solutionbuilder.h"
#include "solutionrequest.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <functional>

namespace {

// The copy step of a create: the build root laid out with copies of the picked files; returns
// BuildRoot::create's result.
int layOutBuildRoot(const CreateRequest &request, QStringList &headerCopies,
    QStringList &sourceCopies, QStringList &kept)
{
    if (request.regenerateInPlace) {
        return BuildRoot::createKeepingCopies(request.headers, request.sources,
            request.projectFolder, headerCopies, sourceCopies, kept);
    }
    return BuildRoot::create(
        request.headers, request.sources, request.projectFolder, headerCopies, sourceCopies);
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
        for (const QString &file :
            { BuildTree::functionTableObject(folder), BuildTree::functionTableSource(folder),
                BuildTree::compileBatch(folder), BuildTree::variantCMakeLists(folder) })
            QFile::remove(file);
        QDir().rmdir(folder);
    }
}

} // namespace

// Built on the started run: an event loop of its own waits for the run's end, so the caller's
// events go on being processed meanwhile.
CKestrune::BuildOutcome CKestrune::createSolution(const CreateRequest &request)
{
    BuildOutcome outcome;
    QEventLoop loop;
    const QMetaObject::Connection finished = connect(
        buildEvents, &BuildEvents::createFinished, &loop, [&](const BuildOutcome &result) {
            outcome = result;
            loop.quit();
        });
    if (!startCreate(request))
        outcome.cancelled = true;
    else if (creating)
        loop.exec();
    disconnect(finished);
    return outcome;
}

// A regeneration writes the very tables the build is about to write: a create asked for during one
// waits for its end, as a create, never spinning.
bool CKestrune::startCreate(const CreateRequest &request)
{
    if (creating || buildingLibraries)
        return false;
    creating = true;
    createCancelled = false;
    createRequest = request;
    createOutcome = BuildOutcome();
    if (!regenerating)
        startCopyStep();
    return true;
}

void CKestrune::startCopyStep()
{
    tools.reset();
    if (createCancelled) {
        createOutcome.cancelled = true;
        finishCreate();
        return;
    }
    runCreateStep(
        [this] {
            ReportedStep step(*buildEvents, BuildEvents::Step::CopyFiles);
            createOutcome.buildRootResult = layOutBuildRoot(
                createRequest, createHeaderCopies, createSourceCopies, createOutcome.keptCopies);
            step.finish(createOutcome.buildRootResult == 0);
            if (createOutcome.buildRootResult == 0)
                emit buildEvents->progressChanged(65);
        },
        [this] { afterCopyStep(); });
}

// The build is recorded (and its sources watched) on the engine's thread, between the steps.
void CKestrune::afterCopyStep()
{
    if (createOutcome.buildRootResult != 0
        || createRequest.buildType == CreateRequest::BuildType::LayoutOnly) {
        finishCreate();
        return;
    }
    if (tools.isCancelled()) {
        createOutcome.cancelled = true;
        finishCreate();
        return;
    }
    const SolutionRequest solution
        = solutionRequestOf(createRequest, createHeaderCopies, createSourceCopies);
    recordBuild(solution);
    runCreateStep(
        [this, solution] {
            if (createRequest.regenerateInPlace)
                removeEarlierBuild(solution.buildRoot, solution.variant);
            createOutcome = SolutionBuilder(tools, *buildEvents).build(solution, createOutcome);
        },
        [this] {
            if (createOutcome.succeeded())
                createOutcome.recordWritten = writeBuildRecord();
            finishCreate();
        });
}

void CKestrune::runCreateStep(const std::function<void()> &work, const std::function<void()> &then)
{
    createThread.start(this, work, then);
}

void CKestrune::finishCreate()
{
    createHeaderCopies.clear();
    createSourceCopies.clear();
    buildOutcome = createOutcome;
    creating = false;
    emit buildEvents->createFinished(buildOutcome);
    // Saves made during the build are regenerated now, from the build just made.
    if (regenerationPending && !creating)
        regenerationTimer->start();
}

// A create still waiting for a regeneration never starts; one under way ends its tools and stops
// after the step it is in.
void CKestrune::cancelCreate()
{
    if (!creating)
        return;
    createCancelled = true;
    if (createThread.isRunning())
        tools.cancel();
}
