#ifndef LIBRARYBUILD_H
#define LIBRARYBUILD_H

#include "buildrecord.h"
#include "librarydeployment.h"
#include "msbuildrun.h"
#include "tableregeneration.h"

#include <QMetaType>
#include <QString>

class BuildEvents;
class ToolRunner;

// What became of one build of a recorded build root's libraries: the tables brought up to date if
// a source changed since they were compiled, the solution built with MSBuild, and every library
// laid into the Fluent case folder. A step that failed stops the ones after it: a failed build lays
// nothing into the case folder.
struct LibraryBuildOutcome {
    enum class Problem {
        None,
        NoCaseFolder,
        NoSolution,
        TablesFailed,
        BuildFailed,
        LayFailed,
        Cancelled
    };
    Problem problem = Problem::None;
    QString configuration;
    QString caseFolder;
    bool tablesRefreshed = false;
    RegeneratedTables tables;
    MSBuildRun::Result build;
    LibraryDeployment::Result laid;
    bool succeeded() const { return problem == Problem::None; }
};
Q_DECLARE_METATYPE(LibraryBuildOutcome)

namespace LibraryBuild {

// Whether a variant's udf_names.obj is missing or older than a source its table is made from.
bool tablesOutOfDate(const TableRegeneration &tables);

// The whole build, on the calling thread; steps and tools are reported through the events.
LibraryBuildOutcome run(ToolRunner &tools, BuildEvents &events, const BuildRecord &record,
    const TableRegeneration &tables, const QString &configuration);

} // namespace LibraryBuild

#endif // LIBRARYBUILD_H
