#ifndef LOGTEXT_H
#define LOGTEXT_H

#include "buildevents.h"
#include "tableregeneration.h"

#include <QString>

// The lines of the log, the same in the window's log pane and on the command line's output: each
// step with its duration, each tool's command line and how it ended.
namespace LogText {

QString runTitle(const QString &title);
QString stepStarted(BuildEvents::Step step, const QString &variant);
QString stepFinished(
    BuildEvents::Step step, const QString &variant, bool succeeded, qint64 milliseconds);
QString toolStarted(const QString &commandLine);
QString toolFinished(ToolRun::Status status, int exitCode, qint64 milliseconds);
// A tool that did not end well, by itself and with status 0, marks the failure to show first.
bool toolFailed(ToolRun::Status status, int exitCode);
// Put where a tool's output was cut because it printed more than a log keeps.
QString outputCut(qint64 characters);
// One line for a regeneration of the function tables: the functions of each variant, or the
// variants that failed.
QString tablesRegenerated(const RegeneratedTables &tables);
// A copy in src or include that was kept because it holds the user's edits.
QString copyKept(const QString &path);

} // namespace LogText

#endif // LOGTEXT_H
