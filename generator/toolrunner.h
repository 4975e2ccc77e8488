#ifndef TOOLRUNNER_H
#define TOOLRUNNER_H

#include <QAtomicInteger>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

// One run of an external tool, as far as it went.
struct ToolRun {
    QString program;
    QStringList arguments;
    bool started = false;
    bool finished = false; // within the time limit, by itself
    bool cancelled = false;
    int exitCode = -1;
    QString output; // standard output and error in the order written, decoded
    qint64 milliseconds = 0;

    bool succeeded() const { return finished && exitCode == 0; }
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
    // Set before tools run; called on the thread that runs the tool.
    void setListener(const Listener &listener) { this->listener = listener; }

    void cancel() { cancelled.storeRelaxed(1); }
    void reset() { cancelled.storeRelaxed(0); }
    bool isCancelled() const { return cancelled.loadRelaxed() != 0; }

    // Time spent waiting for tools since construction, so that a benchmark can tell the engine's
    // own work from the tools'.
    qint64 waitNs() const { return waitedNs.loadRelaxed(); }

private:
    int timeoutMs = 30000;
    Listener listener;
    QAtomicInteger<int> cancelled { 0 };
    QAtomicInteger<qint64> waitedNs { 0 };
};

#endif // TOOLRUNNER_H
