#ifndef TOOLRUNNER_H
#define TOOLRUNNER_H

#include <QAtomicInteger>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

class QProcess;
class QStringDecoder;

// One run of an external tool, as far as it went.
struct ToolRun {
    enum class Status {
        FailedToStart, // no such program, or it could not be executed
        Finished, // ended by itself within the time limit (a crash too: exitCode is -1 then)
        TimedOut, // still running at the time limit, and ended
        Cancelled, // ended, or never started, because the runner was cancelled
    };
    QString program;
    QStringList arguments;
    Status status = Status::FailedToStart;
    int exitCode = -1;
    // Standard output and error in the order written, decoded. Of a tool that prints without end
    // only the head and the tail are kept, with a line between them that says how much was cut.
    QString output;
    qint64 outputCut = 0; // characters left out of output
    qint64 milliseconds = 0;

    bool succeeded() const { return status == Status::Finished && exitCode == 0; }
    // The command as a user would type it, arguments with blanks in double quotes.
    QString commandLine() const;
};

// Runs the tools the engine drives (cmake, cmd.exe) within fixed limits, streams what they print to
// whoever listens, and ends them when asked. Several threads may run tools through one runner at
// once; cancel() ends every run in progress and refuses new ones until reset().
class ToolRunner {
public:
    // cmd.exe and cl print in the console's code page, CMake in UTF-8.
    enum class Encoding { ConsoleCodePage, Utf8 };
    struct Setup {
        QString workingDirectory;
        QList<QPair<QString, QString>> environment; // added to the engine's own
        Encoding encoding = Encoding::Utf8;
    };
    struct Listener {
        std::function<void(const ToolRun &)> started;
        std::function<void(const QString &)> output;
        std::function<void(const ToolRun &)> finished;
    };

    ToolRun run(const QString &program, const QStringList &arguments, const Setup &setup);
    ToolRun run(const QString &program, const QStringList &arguments);

    void setTimeoutMs(int milliseconds) { timeoutMs = milliseconds; }
    int timeout() const { return timeoutMs; }
    // How many characters of a run's output its result keeps at the head, and as many at the tail.
    void setOutputLimit(int characters) { outputLimit = characters; }
    // Set before tools run; called on the thread that runs the tool.
    void setListener(const Listener &listener) { this->listener = listener; }

    void cancel() { cancelled.storeRelaxed(1); }
    void reset() { cancelled.storeRelaxed(0); }
    bool isCancelled() const { return cancelled.loadRelaxed() != 0; }

    // Time spent waiting for tools since construction, so that a benchmark can tell the engine's
    // own work from the tools'.
    qint64 waitNs() const { return waitedNs.loadRelaxed(); }

private:
    void wait(QProcess &process, QStringDecoder &decoder, ToolRun &run);

    int timeoutMs = 30000;
    int outputLimit = 512 * 1024;
    Listener listener;
    QAtomicInteger<int> cancelled { 0 };
    QAtomicInteger<qint64> waitedNs { 0 };
};

#endif // TOOLRUNNER_H
