#include "realcmake.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString findRealCMake()
{
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QStringList path = qEnvironmentVariable("PATH").split(QDir::listSeparator());
    for (const QString &folder : path) {
        const QFileInfo candidate(
            QDir(folder.isEmpty() ? QStringLiteral(".") : folder), QStringLiteral("cmake"));
        if (!candidate.isFile() || !candidate.isExecutable())
            continue;
        if (candidate.canonicalFilePath() == self)
            continue;
        return candidate.absoluteFilePath();
    }
    return QString();
}

namespace {

int exitStatus(const QProcess &process)
{
    if (process.exitStatus() != QProcess::NormalExit)
        return 1;
    return process.exitCode();
}

} // namespace

int handOver(const QString &realCMake, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(realCMake, arguments);
    if (!process.waitForStarted(-1)) {
        qWarning("CMake Error: could not start %s", qPrintable(realCMake));
        return 1;
    }
    process.waitForFinished(-1);
    return exitStatus(process);
}

RunResult runCaptured(const QString &program, const QStringList &arguments)
{
    RunResult result;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        result.standardError = "CMake Error: could not start " + program.toUtf8() + "\n";
        return result;
    }
    process.closeWriteChannel();
    process.waitForFinished(-1);
    result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    result.exitCode = exitStatus(process);
    return result;
}
