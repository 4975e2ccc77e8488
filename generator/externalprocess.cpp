#include "kestrune.h"

#include <QElapsedTimer>
#include <QProcess>

CKestrune::ProcessOutcome CKestrune::runExternalProcess(
    const QString &program, const QStringList &arguments, const ProcessSetup &setup)
{
    QElapsedTimer waiting;
    waiting.start();

    ProcessOutcome outcome;
    QProcess process;
    if (!setup.workingDirectory.isEmpty())
        process.setWorkingDirectory(setup.workingDirectory);
    if (!setup.environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] : setup.environment)
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
    }
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    outcome.started = process.waitForStarted(processTimeoutMs);
    if (outcome.started) {
        outcome.finished = process.waitForFinished(processTimeoutMs);
        if (outcome.finished && process.exitStatus() == QProcess::NormalExit)
            outcome.exitCode = process.exitCode();
        outcome.output = process.readAll();
    }
    // A process still running is killed when the QProcess goes out of scope; count that too.
    if (!outcome.finished && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
    processWaitNs += waiting.nsecsElapsed();
    return outcome;
}

qint64 CKestrune::externalProcessWaitNs() const
{
    return processWaitNs;
}
