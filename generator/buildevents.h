#ifndef BUILDEVENTS_H
#define BUILDEVENTS_H

#include "toolrunner.h"

#include "buildoutcome.h"
#include "librarybuild.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

// What the engine reports while it works off the window's thread: the steps of a create, the tools
// it runs and what they print, and the function tables it regenerates after a save. It lives on the
// thread that made the engine; the engine's workers emit from theirs, so receivers on the window's
// thread get each report queued, in order.
class BuildEvents : public QObject {
    Q_OBJECT

public:
    enum class Step { CopyFiles, FunctionTable, CMake, CleanUp, Regeneration, Build, CaseFolder };
    Q_ENUM(Step)

    using QObject::QObject;

    // A tool runner's reports passed on as these events, from whichever thread runs the tools.
    ToolRunner::Listener toolListener();

signals:
    void progressChanged(int value);
    // variant is empty for the steps of the whole build.
    void stepStarted(BuildEvents::Step step, const QString &variant);
    void stepFinished(
        BuildEvents::Step step, const QString &variant, bool succeeded, qint64 milliseconds);
    void toolStarted(const QString &commandLine);
    void toolOutput(const QString &text);
    // exitCode is -1 unless the tool finished by itself with a status.
    void toolFinished(
        const QString &commandLine, ToolRun::Status status, int exitCode, qint64 milliseconds);
    // After a save: the function tables of every variant of the last build were written and
    // compiled (or not); functionCounts follows variants.
    void tablesRegenerated(const QStringList &variants, const QList<int> &functionCounts,
        const QStringList &failedVariants, const QString &compilerMessage);
    // A create started off the engine's thread has ended.
    void createFinished(const BuildOutcome &outcome);
    // A build of the libraries started off the engine's thread has ended.
    void librariesBuilt(const LibraryBuildOutcome &outcome);
};

// One step reported as it starts and when it ends, with its duration.
class ReportedStep {
public:
    ReportedStep(BuildEvents &events, BuildEvents::Step step, const QString &variant = QString())
        : events(events), step(step), variant(variant)
    {
        clock.start();
        emit events.stepStarted(step, variant);
    }
    void finish(bool succeeded)
    {
        emit events.stepFinished(step, variant, succeeded, clock.elapsed());
    }

private:
    BuildEvents &events;
    BuildEvents::Step step;
    QString variant;
    QElapsedTimer clock;
};

#endif // BUILDEVENTS_H
