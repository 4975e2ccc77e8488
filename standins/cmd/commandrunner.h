#ifndef COMMANDRUNNER_H
#define COMMANDRUNNER_H

#include "codepage.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <cstdio>

struct BatchCommand;

// Runs a batch file the way "cmd.exe /c <batch file>" does, for the few commands the system's
// batch files use: @echo off, rem, set, call of another batch file, pushd, popd, cd and cl.
// Everything else is refused with a message rather than guessed at. Paths are Windows paths on
// drive Z:, as Wine shows the host; the process's own current folder is cmd's.
class CommandRunner {
public:
    // The status returned when the stand-in refuses a batch file.
    static constexpr int refusedStatus = 255;

    explicit CommandRunner(const ConsoleCodePage &codePage);

    // The exit status of "cmd.exe /c path": the error level left by the last command. A POSIX
    // parent sees it modulo 256 (cmd's 9009 arrives as 49); %ERRORLEVEL% holds the whole value.
    int runBatchFile(const QString &path);

private:
    bool runBatch(const QString &path, int depth);
    QProcessEnvironment expansionEnvironment() const;
    bool runCommand(const BatchCommand &command, int depth);
    bool dispatch(const QString &word, const QString &rest, int depth);
    bool runEcho(const QString &rest);
    bool runSet(const QString &rest);
    bool runCall(const QString &rest, int depth);
    bool runPushd(const QString &rest);
    bool runPopd(const QString &rest);
    bool runCd(const QString &rest);
    bool changeFolder(const QString &windowsFolder, bool &changed);
    bool runCl(const QString &word, const QString &rest);
    void writeTo(FILE *stream, const QString &text) const;
    void reportMissingPath();
    bool refuse(const QString &message);

    QProcessEnvironment environment;
    ConsoleCodePage codePage;
    QStringList pushedFolders;
    bool echoOn = true;
    int errorLevel = 0;
    QString currentFile;
    int currentLine = 0;
};

#endif // COMMANDRUNNER_H
