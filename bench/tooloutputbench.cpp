// The window's thread while a tool prints 100 MB: a worker runs the tool as the engine's do and
// hands its output over through BuildEvents, queued to a shown log pane as in the window. Prints
// figures only; it judges nothing.

#include "buildevents.h"
#include "eventgapmeter.h"
#include "logpane.h"
#include "toolrunner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <thread>

namespace {

constexpr int megabytes = 100;

// The process's peak resident memory, where the system tells it.
QString peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("not known here");
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    }
    return QStringLiteral("not known here");
}

void connectToPane(BuildEvents &events, LogPane &pane)
{
    QObject::connect(&events, &BuildEvents::toolStarted, &pane, &LogPane::toolStarted);
    QObject::connect(&events, &BuildEvents::toolOutput, &pane, &LogPane::toolOutput);
    QObject::connect(&events, &BuildEvents::toolFinished, &pane, &LogPane::toolFinished);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QString memoryBefore = peakMemory();
    LogPane pane;
    pane.resize(900, 400);
    pane.setOpen(true);
    pane.show();
    BuildEvents events;
    connectToPane(events, pane);
    ToolRunner tools;
    tools.setListener(events.toolListener());
    QTemporaryDir folder;

    EventGapMeter meter;
    QElapsedTimer clock;
    clock.start();
    ToolRun run;
    std::thread worker([&] {
        run = tools.run(QStringLiteral(KESTRUNE_FLOODING_TOOL), { QString::number(megabytes) },
            { folder.path(), {}, ToolRunner::Encoding::Utf8 });
        QMetaObject::invokeMethod(&application, &QApplication::quit, Qt::QueuedConnection);
    });
    application.exec();
    worker.join();
    pane.flush();
    const double wholeMs = clock.nsecsElapsed() / 1e6;

    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    out << "A tool printing " << megabytes
        << " MB into the shown log pane, off the window's thread\n";
    out << "  tool ran:                      " << run.milliseconds << " ms, status "
        << (run.succeeded() ? "succeeded" : "failed") << ", " << run.outputCut
        << " characters cut from the run's result\n";
    out << "  until the log had it all:      " << wholeMs << " ms\n";
    out << "  longest time without events:   " << meter.longestGapMs
        << " ms (target under 50 ms)\n";
    out << "  peak memory:                   " << peakMemory()
        << " (before the pane: " << memoryBefore << ")\n";
    return 0;
}
