#ifndef BATCHREADER_H
#define BATCHREADER_H

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One command as cmd sees it after reading: variables expanded, caret continuations joined,
// escaping carets removed; double quotes are kept for the program's own argument splitting.
struct BatchCommand {
    QString text;
    int lineNumber = 0; // first line of the command in the file, counted from 1
    // The first & | < > outside double quotes and not escaped: a command separator, pipe or
    // redirection, none of which the stand-in runs.
    QChar operatorOutsideQuotes;
};

// Reads a batch file command by command, as cmd does: each line is expanded only when it is
// reached, so that a "set" on one line is seen by the next.
class BatchReader {
public:
    // The text as decoded from the console code page; batchPath is the file's full Windows path,
    // which %~dp0 and its kin take apart.
    BatchReader(const QString &text, const QString &batchPath);

    bool atEnd() const;
    // False, with the message in error, for what cmd would do but the stand-in does not.
    bool next(const QProcessEnvironment &environment, BatchCommand &command, QString &error);

private:
    QStringList lines;
    QString batchPath;
    int current = 0;
};

// The percent expansion of one batch line: %NAME%, %% and %~<modifiers>0.
bool expandBatchVariables(const QString &line, const QProcessEnvironment &environment,
    const QString &batchPath, QString &expanded, QString &error);

#endif // BATCHREADER_H
