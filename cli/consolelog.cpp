#include "consolelog.h"

#include "console.h"
#include "logtext.h"

// The events come from the engine's worker threads and reach this thread queued, in the order
// they happened.
ConsoleLog::ConsoleLog(BuildEvents *events, QObject *parent) : QObject(parent)
{
    connect(events, &BuildEvents::stepStarted, this,
        [this](BuildEvents::Step step, const QString &variant) {
            line(LogText::stepStarted(step, variant));
        });
    connect(events, &BuildEvents::stepFinished, this,
        [this](BuildEvents::Step step, const QString &variant, bool succeeded, qint64 ms) {
            line(LogText::stepFinished(step, variant, succeeded, ms));
        });
    connect(events, &BuildEvents::toolStarted, this,
        [this](const QString &commandLine) { line(LogText::toolStarted(commandLine)); });
    connect(events, &BuildEvents::toolOutput, this, &ConsoleLog::toolOutput);
    connect(events, &BuildEvents::toolFinished, this,
        [this](const QString &, ToolRun::Status status, int exitCode, qint64 ms) {
            line(LogText::toolFinished(status, exitCode, ms));
        });
}

void ConsoleLog::line(const QString &text)
{
    Console::out((atLineStart ? QString() : QStringLiteral("\n")) + text + QLatin1Char('\n'));
    atLineStart = true;
}

void ConsoleLog::toolOutput(const QString &text)
{
    if (text.isEmpty())
        return;
    // Windows tools end lines with CR LF; a terminal or a log file wants one line end.
    QString lines = text;
    lines.remove(QLatin1Char('\r'));
    Console::out(lines);
    atLineStart = lines.endsWith(QLatin1Char('\n'));
}
