#include "toolrun.h"

#include <QProcess>

int runTool(
    const QString &program, const QStringList &arguments, const QString &folder, QString &output)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    // A single source or link of a UDF takes seconds; a tool that hangs must not hang the build.
    const bool finished = process.waitForStarted(30000) && process.waitForFinished(120000);
    output = QString::fromUtf8(process.readAll());
    if (!finished) {
        output += QStringLiteral("%1: %2\n").arg(program, process.errorString());
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
