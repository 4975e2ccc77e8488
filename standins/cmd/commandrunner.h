#ifndef COMMANDRUNNER_H
#define COMMANDRUNNER_H

#include <QProcessEnvironment>
#include <QString>

struct BatchCommand;

// Runs a batch file the way "cmd.exe /c <batch file>" does, for the few commands the system's
// batch files use: @echo off, rem, set, call of another batch file and cl. Everything else is
// refused with a message rather than guessed at.
class CommandRunner {
public:
    // The status returned when the stand-in refuses a batch file.
    static constexpr int refusedStatus = 255;

    CommandRunner();

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
    bool runCl(const QString &word, const QString &rest);
    void reportMissingPath();
    bool refuse(const QString &message);

    QProcessEnvironment environment;
    bool echoOn = true;
    int errorLevel = 0;
    QString currentFile;
    int currentLine = 0;
};

#endif // COMMANDRUNNER_H
