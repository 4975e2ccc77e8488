#ifndef FUNCTIONTABLE_H
#define FUNCTIONTABLE_H

#include "fileresult.h"
#include "toolrunner.h"

#include <QString>
#include <QStringList>

// The UDF function table of one variant: the DEFINE_ heads of the sources written to udf_names.c,
// compiled by Visual Studio's compiler to udf_names.obj in the variant's folder, then the
// intermediate files removed. Fluent's loader finds the library's functions through this table.
namespace FunctionTable {

// The definition heads of one source file; none when it cannot be read.
QStringList findDefinitions(const QString &sourcePath);

// Writes udf_names.c from the sources; a build that defines no function gets a default one
// appended to its first source. Returns the table's rows, -1 when the file could not be written.
int write(const QStringList &sources, const QString &variantFolder);

// Compiles udf_names.c with the compiler of the Visual Studio installation, through an ASCII batch
// file run by cmd.exe in the variant folder. An object of an earlier table is put aside meanwhile:
// a compile that was cancelled or ran out of time puts it back, as the user lost no working
// build by stopping; one that ran and failed leaves no object, since a table that no longer
// matches the sources must not link.
ToolRun compile(ToolRunner &tools, const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantFolder);

void removeTemporaries(const QString &variantFolder);

// One variant's table written, compiled and its temporaries removed.
struct Build {
    int functionCount = -1; // -1 when udf_names.c could not be written
    ToolRun compile;
    bool objectMade = false;
    // The earlier udf_names.obj was put back after an interrupted compile: it is there, but made
    // from the sources as they were before.
    bool previousObjectKept = false;
    // udf_names.c, compileOBJ.bat or the source the default function went to, each left as it
    // was, and why.
    FileResults failedWrites;
};
Build build(ToolRunner &tools, const QStringList &sources, const QString &variant,
    const QString &fluentPath, const QString &vsPath, const QString &variantFolder);
// The steps of build(), each filling in its part of the table.
void write(const QStringList &sources, const QString &variantFolder, Build &table);
void compile(ToolRunner &tools, const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantFolder, Build &table);
// The steps of build() after the table was written.
void compileWritten(ToolRunner &tools, const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantFolder, Build &table);

} // namespace FunctionTable

#endif // FUNCTIONTABLE_H
