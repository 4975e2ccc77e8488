#include "functiontable.h"

#include "buildtree.h"
#include "kestrunelog.h"
#include "udfscanner.h"

#include <QFile>
#include <QFileInfo>

namespace FunctionTable {

QStringList findDefinitions(const QString &sourcePath)
{
    QFile source(sourcePath);
    // Text mode is not asked for: the scanner folds CR LF itself, which reading in text mode
    // would only do more slowly.
    if (!source.open(QIODevice::ReadOnly)) {
        qCDebug(lcKestrune) << "Failed to open input file.";
        return {};
    }
    return scanUdfDefinitions(source.readAll());
}

void removeTemporaries(const QString &variantFolder)
{
    QFile::remove(BuildTree::compileBatch(variantFolder));
    QFile::remove(BuildTree::functionTableSource(variantFolder));
}

Build build(ToolRunner &tools, const QStringList &sources, const QString &variant,
    const QString &fluentPath, const QString &vsPath, const QString &variantFolder)
{
    Build table;
    write(sources, variantFolder, table);
    compileWritten(tools, variant, fluentPath, vsPath, variantFolder, table);
    return table;
}

void compileWritten(ToolRunner &tools, const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantFolder, Build &table)
{
    compile(tools, variant, fluentPath, vsPath, variantFolder, table);
    removeTemporaries(variantFolder);
    table.objectMade = !table.previousObjectKept
        && QFileInfo::exists(BuildTree::functionTableObject(variantFolder));
}

} // namespace FunctionTable
