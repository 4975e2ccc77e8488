#include "kestrune.h"

#include "buildroot.h"
#include "buildtree.h"
#include "solutionbuilder.h"
#include "solutionrequest.h"

#include <QCoreApplication>
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
    QStringList &sourceCopies)
{
    QElapsedTimer clock;
    clock.start();
    emit events.stepStarted(BuildEvents::Step::CopyFiles, QString());
    int result = 0;
    runOffThisThread([&] {
        result = BuildRoot::create(
            request.headers, request.sources, request.projectFolder, headerCopies, sourceCopies);
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
    outcome.buildRootResult = layOutBuildRoot(*buildEvents, request, headerCopies, sourceCopies);
    if (outcome.buildRootResult == 0 && request.buildType != CreateRequest::BuildType::LayoutOnly) {
        if (tools.isCancelled()) {
            outcome.cancelled = true;
        } else {
            const SolutionRequest solution = solutionRequestOf(request, headerCopies, sourceCopies);
            recordBuild(solution);
            const SolutionBuilder builder(tools, *buildEvents);
            runOffThisThread([&] { outcome = builder.build(solution, outcome); });
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
