#include "librarybuild.h"

#include "buildevents.h"
#include "buildtree.h"
#include "toolrunner.h"

#include <QFileInfo>

namespace {

LibraryBuildOutcome stopped(LibraryBuildOutcome outcome, LibraryBuildOutcome::Problem problem)
{
    outcome.problem = problem;
    return outcome;
}

} // namespace

bool LibraryBuild::tablesOutOfDate(const TableRegeneration &tables)
{
    for (int i = 0; i < tables.variants.size(); ++i) {
        const QFileInfo object(BuildTree::functionTableObject(tables.folders.at(i)));
        if (!object.exists())
            return true;
        for (const QString &source : tables.sources.at(i)) {
            if (QFileInfo(source).lastModified() > object.lastModified())
                return true;
        }
    }
    return false;
}

LibraryBuildOutcome LibraryBuild::run(ToolRunner &tools, BuildEvents &events,
    const BuildRecord &record, const TableRegeneration &tables, const QString &configuration)
{
    using Problem = LibraryBuildOutcome::Problem;
    LibraryBuildOutcome outcome;
    outcome.configuration = configuration;
    outcome.caseFolder = record.caseFolder;
    if (record.caseFolder.isEmpty())
        return stopped(outcome, Problem::NoCaseFolder);
    const QString solution = BuildTree::solutionFileOf(record.buildRoot);
    if (solution.isEmpty())
        return stopped(outcome, Problem::NoSolution);

    if (tablesOutOfDate(tables)) {
        outcome.tablesRefreshed = true;
        outcome.tables = regenerateTables(tools, events, tables);
        if (tools.isCancelled())
            return stopped(outcome, Problem::Cancelled);
        if (!outcome.tables.succeeded())
            return stopped(outcome, Problem::TablesFailed);
    }

    ReportedStep build(events, BuildEvents::Step::Build);
    outcome.build = MSBuildRun::run(tools, record.vsPath, solution, configuration);
    build.finish(outcome.build.succeeded());
    if (tools.isCancelled())
        return stopped(outcome, Problem::Cancelled);
    if (!outcome.build.succeeded())
        return stopped(outcome, Problem::BuildFailed);

    ReportedStep lay(events, BuildEvents::Step::CaseFolder);
    const QStringList variants = BuildTree::variantsOfBuild(record.variant);
    outcome.laid
        = LibraryDeployment::lay(LibraryDeployment::copiesOf(record.buildRoot, record.caseFolder,
                                     configuration, record.coupling, variants),
            [&tools] { return tools.isCancelled(); });
    lay.finish(outcome.laid.succeeded());
    if (outcome.laid.problem == LibraryDeployment::Result::Problem::Cancelled)
        return stopped(outcome, Problem::Cancelled);
    if (!outcome.laid.succeeded())
        return stopped(outcome, Problem::LayFailed);
    return outcome;
}
