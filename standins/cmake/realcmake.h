#ifndef STANDIN_REALCMAKE_H
#define STANDIN_REALCMAKE_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// The real cmake: the first one on PATH that is not this stand-in.
QString findRealCMake();

// Runs the real cmake with the whole command line, the standard channels passed through, and
// gives its exit status.
int handOver(const QString &realCMake, const QStringList &arguments);

struct RunResult {
    int exitCode = 1;
    QByteArray standardOutput;
    QByteArray standardError;
};

RunResult runCaptured(const QString &program, const QStringList &arguments);

#endif // STANDIN_REALCMAKE_H
