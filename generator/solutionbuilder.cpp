#include "solutionbuilder.h"

#include "buildevents.h"
#include "buildtree.h"
#include "cmakefiles.h"
#include "cmakerun.h"
#include "functiontable.h"
#include "kestrunelog.h"
#include "solutioncleanup.h"
#include "solutionrequest.h"
#include "toolrunner.h"

#include <QDir>
#include <QFile>

namespace {

struct FolderMessages {
    const char *exists;
    const char *created;
    const char *failed;
};

const FolderMessages serialMessages { "Serial directory already exists",
    "Serial directory created successfully", "Failed to create Serial directory" };
const FolderMessages hostMessages { "Host directory already exists",
    "Host directory created successfully", "Failed to create host directory" };
const FolderMessages nodeMessages { "Note directory already exists",
    "Note directory created successfully", "Failed to create note directory" };

const FolderMessages &folderMessages(const QString &variant, const QString &buildVariant)
{
    if (BuildTree::isSerialVariant(buildVariant))
        return serialMessages;
    return variant == buildVariant ? hostMessages : nodeMessages;
}

// A folder that cannot be made is only logged: the variant's files meet it themselves.
void makeVariantFolder(const QString &path, const FolderMessages &messages)
{
    QDir dir;
    if (dir.exists(path)) {
        qCDebug(lcKestrune) << messages.exists;
        return;
    }
    // Made whether or not the log is on.
    const bool made = dir.mkpath(path);
    qCDebug(lcKestrune) << (made ? messages.created : messages.failed);
}

// Tools print in lines; a message of the last few is what a user needs in a box or a status bar.
QString lastLines(const QString &output, int count)
{
    QStringList lines = output.trimmed().split(QLatin1Char('\n'));
    if (lines.size() > count)
        lines = lines.mid(lines.size() - count);
    return lines.join(QLatin1Char('\n')).trimmed();
}

// A cancelled build leaves no input of CMake behind, and no solution CMake was stopped writing.
BuildOutcome cancelled(const SolutionRequest &request, BuildOutcome outcome, bool duringCMake)
{
    QFile::remove(BuildTree::topLevelCMakeLists(request.buildRoot));
    for (const QString &name : BuildTree::variantsOfBuild(request.variant))
        QFile::remove(
            BuildTree::variantCMakeLists(BuildTree::variantFolder(request.buildRoot, name)));
    if (duringCMake)
        QDir(BuildTree::solutionFolder(request.buildRoot)).removeRecursively();
    outcome.cancelled = true;
    return outcome;
}

} // namespace

BuildOutcome SolutionBuilder::build(const SolutionRequest &request, BuildOutcome outcome) const
{
    FileResult topLevel;
    if (!CMakeFiles::writeTopLevel(request.buildRoot, request.variant, &topLevel)) {
        outcome.failedWrites.append(topLevel);
        return outcome;
    }
    outcome.topLevelFileWritten = true;
    const QStringList variants = BuildTree::variantsOfBuild(request.variant);
    bool inputsWritten = true;
    for (int i = 0; i < variants.size() && !tools.isCancelled(); ++i) {
        inputsWritten = buildVariantFolder(request, variants.at(i), outcome) && inputsWritten;
        emit events.progressChanged(65 + 15 * (i + 1) / int(variants.size()));
    }
    if (tools.isCancelled())
        return cancelled(request, outcome, false);

    // CMake would read what an earlier build left in place of a file that was not written.
    if (!inputsWritten) {
        outcome.cleanup = SolutionCleanup::discardCMakeOutput(request.variant, request.buildRoot);
        return outcome;
    }
    runCMake(request, outcome);
    if (outcome.cancelled)
        return cancelled(request, outcome, true);
    emit events.progressChanged(90);
    cleanUp(request, outcome);
    emit events.progressChanged(95);
    return outcome;
}

// One variant folder: made, its function table built, its CMakeLists.txt written; false when the
// latter was not.
bool SolutionBuilder::buildVariantFolder(
    const SolutionRequest &request, const QString &name, BuildOutcome &outcome) const
{
    ReportedStep step(events, BuildEvents::Step::FunctionTable, name);
    const QString folder = BuildTree::variantFolder(request.buildRoot, name);
    makeVariantFolder(folder, folderMessages(name, request.variant));
    const QStringList sources = request.sourcesOf(name);
    const FunctionTable::Build table
        = FunctionTable::build(tools, sources, name, request.fluentPath, request.vsPath, folder);
    if (!table.objectMade) {
        outcome.variantsWithoutObject.append(name);
        if (outcome.compilerMessage.isEmpty())
            outcome.compilerMessage = lastLines(table.compile.output, 20);
    }
    outcome.failedWrites += table.failedWrites;
    FileResult cmakeLists;
    const bool listsWritten
        = CMakeFiles::writeVariant({ request.coupling, request.headers, sources, name,
                                       request.fluentPath, request.edemPath, folder },
            &cmakeLists);
    if (!listsWritten)
        outcome.failedWrites.append(cmakeLists);
    step.finish(table.objectMade && table.failedWrites.isEmpty() && listsWritten);
    return listsWritten;
}

// A cancelled run is told by outcome.cancelled; the caller removes what it left.
void SolutionBuilder::runCMake(const SolutionRequest &request, BuildOutcome &outcome) const
{
    ReportedStep step(events, BuildEvents::Step::CMake);
    const CMakeRun::Result cmake = CMakeRun::run(tools, request.buildRoot, request.vsPath);
    step.finish(cmake.problem == BuildOutcome::CMakeProblem::None);
    if (cmake.cancelled()) {
        outcome.cancelled = true;
        return;
    }
    outcome.cmakeProblem = cmake.problem;
    outcome.cmakeVersion = cmake.version;
    if (cmake.problem != BuildOutcome::CMakeProblem::None)
        outcome.cmakeMessage = lastLines(cmake.output, 20);
}

void SolutionBuilder::cleanUp(const SolutionRequest &request, BuildOutcome &outcome) const
{
    ReportedStep step(events, BuildEvents::Step::CleanUp);
    // What a cmake that failed or was killed wrote may be half a solution: none is reported.
    if (outcome.cmakeProblem != BuildOutcome::CMakeProblem::None) {
        outcome.cleanup = SolutionCleanup::discardCMakeOutput(request.variant, request.buildRoot);
    } else {
        outcome.cleanup = SolutionCleanup::clean(request.variant, request.buildRoot);
        outcome.solutionPath = BuildTree::solutionFileOf(request.buildRoot);
        if (outcome.solutionPath.isEmpty())
            outcome.cmakeProblem = BuildOutcome::CMakeProblem::NoSolution;
    }
    step.finish(!outcome.solutionPath.isEmpty() && outcome.cleanup.succeeded());
}
