#include "buildevents.h"

ToolRunner::Listener BuildEvents::toolListener()
{
    ToolRunner::Listener listener;
    listener.started = [this](const ToolRun &run) { emit toolStarted(run.commandLine()); };
    listener.output = [this](const QString &text) { emit toolOutput(text); };
    listener.finished = [this](const ToolRun &run) {
        emit toolFinished(run.commandLine(), run.status, run.exitCode, run.milliseconds);
    };
    return listener;
}
