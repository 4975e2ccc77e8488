#include "tableregeneration.h"

#include "buildevents.h"
#include "buildtree.h"
#include "functiontable.h"

#include <QFile>
#include <QLockFile>

#include <thread>
#include <vector>

namespace {

// Longer than any regeneration: the compiles' own limit is 30 s each.
const int lockWaitMs = 120000;

// A node built from the host's very sources gets the host's table: the same text, without
// scanning every source a second time.
bool copyHostTable(
    const TableRegeneration &job, int node, std::vector<FunctionTable::Build> &tables)
{
    if (job.sources.at(node) != job.sources.at(0) || tables[0].functionCount < 0)
        return false;
    const QString table = BuildTree::functionTableSource(job.folders.at(node));
    QFile::remove(table);
    if (!QFile::copy(BuildTree::functionTableSource(job.folders.at(0)), table))
        return false;
    tables[node].functionCount = tables[0].functionCount;
    return true;
}

// The tables are written one after the other, since the first of them may append the default
// function to a source both read; only the compiles, the slow part, run at once.
std::vector<FunctionTable::Build> buildTables(ToolRunner &tools, const TableRegeneration &job)
{
    std::vector<FunctionTable::Build> tables(job.variants.size());
    for (int i = 0; i < job.variants.size(); ++i) {
        if (i == 0 || !copyHostTable(job, i, tables))
            tables[i].functionCount = FunctionTable::write(job.sources.at(i), job.folders.at(i));
    }
    const auto compile = [&](int i) {
        FunctionTable::compileWritten(
            tools, job.variants.at(i), job.fluentPath, job.vsPath, job.folders.at(i), tables[i]);
    };
    std::thread node;
    if (job.variants.size() > 1)
        node = std::thread(compile, 1);
    compile(0);
    if (node.joinable())
        node.join();
    return tables;
}

} // namespace

RegeneratedTables regenerateTables(
    ToolRunner &tools, BuildEvents &events, const TableRegeneration &job)
{
    ReportedStep step(events, BuildEvents::Step::Regeneration);
    // Two Kestrunes watching one build root (two windows, a window and kestrune-cli watch) take
    // turns: each writes udf_names.c, compiles it and removes it, and the other's compile must not
    // meet half of that. A turn not had within the wait is taken anyway: a table late is worse.
    QLockFile turn(
        BuildTree::rootOfVariantFolder(job.folders.value(0)) + QLatin1String("/kestrune.lock"));
    turn.setStaleLockTime(lockWaitMs);
    turn.tryLock(lockWaitMs);
    const std::vector<FunctionTable::Build> tables = buildTables(tools, job);
    turn.unlock();

    RegeneratedTables result;
    result.variants = job.variants;
    for (int i = 0; i < int(tables.size()); ++i) {
        result.functionCounts.append(tables.at(i).functionCount);
        if (!tables.at(i).objectMade) {
            result.failedVariants.append(job.variants.at(i));
            if (result.compilerMessage.isEmpty())
                result.compilerMessage = tables.at(i).compile.output.trimmed();
        }
    }
    step.finish(result.succeeded());
    emit events.tablesRegenerated(
        result.variants, result.functionCounts, result.failedVariants, result.compilerMessage);
    return result;
}
