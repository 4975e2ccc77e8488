#ifndef TABLEREGENERATION_H
#define TABLEREGENERATION_H

#include <QList>
#include <QString>
#include <QStringList>

class BuildEvents;
class ToolRunner;

// What one regeneration of the function tables works from: a copy of the recorded build, so that
// it needs nothing of the engine while it runs on a thread of its own.
struct TableRegeneration {
    QStringList variants;
    QList<QStringList> sources; // per variant
    QStringList folders; // per variant
    QString fluentPath;
    QString vsPath;
};

// What became of one regeneration; functionCounts follows variants, -1 where no table was written.
struct RegeneratedTables {
    QStringList variants;
    QList<int> functionCounts;
    QStringList failedVariants; // variants whose udf_names.obj was not made
    QString compilerMessage;
    bool succeeded() const { return failedVariants.isEmpty(); }
};

// Writes and compiles the table of every variant, host and node at once, and reports the step and
// the tables made through the events.
RegeneratedTables regenerateTables(ToolRunner &tools, BuildEvents &events, const TableRegeneration &job);

#endif // TABLEREGENERATION_H
