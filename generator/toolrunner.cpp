#include "toolrunner.h"

#include "headandtail.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringDecoder>

namespace {

// How often a waiting run looks at the cancel flag and passes on what the tool printed.
const int pollMs = 20;

// The console code page of a Chinese Windows is 936, whose superset GB18030 every Qt with ICU
// decodes; Windows itself names its code page, which is what cmd and cl print in.
QStringDecoder consoleDecoder()
{
#ifdef Q_OS_WIN
    return QStringDecoder(QStringDecoder::System);
#else
    QStringDecoder decoder("GB18030");
    return decoder.isValid() ? std::move(decoder) : QStringDecoder(QStringDecoder::Utf8);
#endif
}

QProcessEnvironment environmentWith(const QList<QPair<QString, QString>> &additions)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : additions)
        environment.insert(name, value);
    return environment;
}

// What the tool prints on either channel is read as one stream, in the order written.
void prepare(QProcess &process, const ToolRunner::Setup &setup)
{
    if (!setup.workingDirectory.isEmpty())
        process.setWorkingDirectory(setup.workingDirectory);
    if (!setup.environment.isEmpty())
        process.setProcessEnvironment(environmentWith(setup.environment));
    process.setProcessChannelMode(QProcess::MergedChannels);
}

void endProcess(QProcess &process)
{
    process.kill();
    process.waitForFinished(5000);
}

// The run's output as kept: the head, then a line saying how much was cut, then the tail.
QString keptOutput(HeadAndTail &output)
{
    const QString tail = output.tail();
    if (output.cut() == 0)
        return output.head() + tail;
    return output.head() + QStringLiteral("\n[... %1 characters cut ...]\n").arg(output.cut())
        + tail;
}

} // namespace

QString ToolRun::commandLine() const
{
    QStringList words { program };
    for (const QString &argument : arguments)
        words << (argument.contains(QLatin1Char(' ')) || argument.isEmpty()
                ? QLatin1Char('"') + argument + QLatin1Char('"')
                : argument);
    return words.join(QLatin1Char(' '));
}

// Passes on what the tool prints until it ends, runs out of time or is cancelled.
void ToolRunner::wait(QProcess &process, QStringDecoder &decoder, ToolRun &run)
{
    HeadAndTail output(outputLimit);
    const QDeadlineTimer deadline(timeoutMs);
    bool ended = false;
    while (!ended && !deadline.hasExpired() && !isCancelled()) {
        // Waiting for output, not for the end: a tool that floods its pipe is passed on a pipe's
        // worth at a time, where waiting for the end would gather megabytes into one piece.
        ended = !process.waitForReadyRead(pollMs) && process.state() == QProcess::NotRunning;
        const QString text = decoder(process.readAll());
        output.append(text);
        if (!text.isEmpty() && listener.output)
            listener.output(text);
    }
    if (!ended) {
        run.status = isCancelled() ? ToolRun::Status::Cancelled : ToolRun::Status::TimedOut;
        endProcess(process);
    } else {
        run.status = ToolRun::Status::Finished;
        if (process.exitStatus() == QProcess::NormalExit)
            run.exitCode = process.exitCode();
    }
    run.output = keptOutput(output);
    run.outputCut = output.cut();
}

ToolRun ToolRunner::run(const QString &program, const QStringList &arguments)
{
    return run(program, arguments, Setup());
}

ToolRun ToolRunner::run(const QString &program, const QStringList &arguments, const Setup &setup)
{
    QElapsedTimer clock;
    clock.start();
    ToolRun run;
    run.program = program;
    run.arguments = arguments;
    if (isCancelled()) {
        run.status = ToolRun::Status::Cancelled;
        return run;
    }

    QProcess process;
    prepare(process, setup);
    QStringDecoder decoder = setup.encoding == Encoding::ConsoleCodePage
        ? consoleDecoder()
        : QStringDecoder(QStringDecoder::Utf8);
    if (listener.started)
        listener.started(run);

    process.start(program, arguments);
    if (process.waitForStarted(timeoutMs))
        wait(process, decoder, run);
    run.milliseconds = clock.elapsed();
    waitedNs.fetchAndAddRelaxed(clock.nsecsElapsed());
    if (listener.finished)
        listener.finished(run);
    return run;
}
