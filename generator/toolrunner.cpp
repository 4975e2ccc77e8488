#include "toolrunner.h"

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
        run.cancelled = true;
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
    run.started = process.waitForStarted(timeoutMs);
    const QDeadlineTimer deadline(timeoutMs);
    while (run.started && !run.finished && !deadline.hasExpired() && !isCancelled()) {
        run.finished = process.waitForFinished(pollMs) || process.state() == QProcess::NotRunning;
        const QString text = decoder(process.readAll());
        run.output += text;
        if (!text.isEmpty() && listener.output)
            listener.output(text);
    }
    if (run.started && !run.finished) {
        run.cancelled = isCancelled();
        endProcess(process);
    } else if (run.finished && process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.milliseconds = clock.elapsed();
    waitedNs.fetchAndAddRelaxed(clock.nsecsElapsed());
    if (listener.finished)
        listener.finished(run);
    return run;
}
