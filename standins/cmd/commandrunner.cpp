#include "commandrunner.h"

#include "batchreader.h"
#include "clcompiler.h"
#include "cmdvariables.h"
#include "crtarguments.h"
#include "windowspaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

// cmd stops a runaway recursion of calls too; the stand-in's batch files nest once at most.
static const int maxCallDepth = 16;

static bool isBatchFileName(const QString &path)
{
    return path.endsWith(QLatin1String(".bat"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".cmd"), Qt::CaseInsensitive);
}

static bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

CommandRunner::CommandRunner(const ConsoleCodePage &codePage)
    : environment(QProcessEnvironment::systemEnvironment()), codePage(codePage)
{
}

// What a console shows is encoded in its code page.
void CommandRunner::writeTo(FILE *stream, const QString &text) const
{
    const QByteArray bytes = codePage.encode(text);
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    fflush(stream);
}

int CommandRunner::runBatchFile(const QString &path)
{
    QString host;
    QString error;
    if (!hostPath(path, host, error)) {
        refuse(error);
        return refusedStatus;
    }
    if (!isBatchFileName(host)) {
        refuse(QStringLiteral("unsupported command %1: only batch files run").arg(path));
        return refusedStatus;
    }
    if (!QFileInfo(host).isFile()) {
        reportMissingPath();
        return errorLevel;
    }
    return runBatch(host, 0) ? errorLevel : refusedStatus;
}

// The path is a host path, relative ones against the current folder; cmd reads the file in the
// console code page.
bool CommandRunner::runBatch(const QString &path, int depth)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportMissingPath();
        return true;
    }
    const QString fullPath = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    BatchReader reader(codePage.decode(file.readAll()), windowsPath(fullPath));
    const QString callerFile = currentFile;
    const int callerLine = currentLine;
    currentFile = path;
    bool accepted = true;
    while (accepted && !reader.atEnd()) {
        BatchCommand command;
        QString error;
        accepted = reader.next(expansionEnvironment(), command, error);
        currentLine = command.lineNumber;
        accepted = accepted ? runCommand(command, depth) : refuse(error);
    }
    currentFile = callerFile;
    currentLine = callerLine;
    return accepted;
}

// cmd's dynamic %ERRORLEVEL% and %CD%, unless real variables of those names hide them. They are
// seen only by the expansion, not by the programs that the batch file starts.
QProcessEnvironment CommandRunner::expansionEnvironment() const
{
    QProcessEnvironment expansion = environment;
    QString value;
    if (!findCmdVariable(expansion, QStringLiteral("ERRORLEVEL"), value))
        expansion.insert(QStringLiteral("ERRORLEVEL"), QString::number(errorLevel));
    if (!findCmdVariable(expansion, QStringLiteral("CD"), value))
        expansion.insert(QStringLiteral("CD"), windowsPath(QDir::currentPath()));
    return expansion;
}

bool CommandRunner::runCommand(const BatchCommand &command, int depth)
{
    QString text = command.text;
    bool quiet = false;
    while (!text.isEmpty() && (isBlank(text.at(0)) || text.at(0) == QLatin1Char('@'))) {
        quiet = quiet || text.at(0) == QLatin1Char('@');
        text.remove(0, 1);
    }
    if (text.trimmed().isEmpty() || text.startsWith(QLatin1Char(':')))
        return true; // empty lines, labels and "::" comments do nothing
    int wordEnd = 0;
    while (wordEnd < text.size() && !isBlank(text.at(wordEnd)))
        ++wordEnd;
    if (echoOn && !quiet)
        return refuse(QStringLiteral("unsupported echo of commands: start the batch file with "
                                     "@echo off"));
    const QString word = text.left(wordEnd);
    if (word.compare(QLatin1String("rem"), Qt::CaseInsensitive) == 0)
        return true; // a remark ends the line before any operator in it counts
    if (!command.operatorOutsideQuotes.isNull())
        return refuse(QStringLiteral("unsupported operator %1 outside double quotes")
                          .arg(command.operatorOutsideQuotes));
    return dispatch(word, text.mid(wordEnd), depth);
}

bool CommandRunner::dispatch(const QString &word, const QString &rest, int depth)
{
    const QString command = word.toLower();
    if (command == QLatin1String("echo"))
        return runEcho(rest);
    if (command == QLatin1String("set"))
        return runSet(rest);
    if (command == QLatin1String("call"))
        return runCall(rest, depth);
    if (command == QLatin1String("pushd"))
        return runPushd(rest);
    if (command == QLatin1String("popd"))
        return runPopd(rest);
    if (command == QLatin1String("cd") || command == QLatin1String("chdir"))
        return runCd(rest);
    if (command == QLatin1String("cl") || command == QLatin1String("cl.exe"))
        return runCl(word, rest);
    return refuse(QStringLiteral("unsupported command %1").arg(word));
}

bool CommandRunner::runEcho(const QString &rest)
{
    const QString text = rest.mid(1); // echo drops the one separator after its name
    const QString state = text.trimmed().toLower();
    if (state == QLatin1String("off") || state == QLatin1String("on"))
        echoOn = state == QLatin1String("on");
    else if (state.isEmpty())
        writeTo(stdout,
            echoOn ? QStringLiteral("ECHO is on.\r\n") : QStringLiteral("ECHO is off.\r\n"));
    else
        writeTo(stdout, text + QStringLiteral("\r\n"));
    return true;
}

bool CommandRunner::runSet(const QString &rest)
{
    int start = 0;
    while (start < rest.size() && isBlank(rest.at(start)))
        ++start;
    QString assignment = rest.mid(start); // the value keeps its trailing blanks, as in cmd
    if (assignment.startsWith(QLatin1Char('/')))
        return refuse(QStringLiteral("unsupported set switch in: set %1").arg(assignment));
    if (assignment.startsWith(QLatin1Char('"'))) {
        // set "NAME=value" takes the text up to the last double quote
        const int close = assignment.lastIndexOf(QLatin1Char('"'));
        assignment = close > 0 ? assignment.mid(1, close - 1) : assignment.mid(1);
    }
    const int equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return refuse(QStringLiteral("unsupported listing of variables: set %1").arg(assignment));
    setCmdVariable(environment, assignment.left(equals), assignment.mid(equals + 1));
    return true;
}

bool CommandRunner::runCall(const QString &rest, int depth)
{
    const QString arguments = rest.trimmed();
    QString path;
    QString remainder;
    if (arguments.startsWith(QLatin1Char('"'))) {
        const int close = arguments.indexOf(QLatin1Char('"'), 1);
        path = close < 0 ? arguments.mid(1) : arguments.mid(1, close - 1);
        remainder = close < 0 ? QString() : arguments.mid(close + 1);
    } else {
        int end = 0;
        while (end < arguments.size() && !isBlank(arguments.at(end)))
            ++end;
        path = arguments.left(end);
        remainder = arguments.mid(end);
    }
    if (!remainder.trimmed().isEmpty())
        return refuse(QStringLiteral("unsupported arguments of call: %1").arg(remainder.trimmed()));
    if (path.startsWith(QLatin1Char(':')) || !isBatchFileName(path))
        return refuse(QStringLiteral("unsupported call of %1: only batch files").arg(path));
    if (depth + 1 >= maxCallDepth)
        return refuse(QStringLiteral("unsupported call depth beyond %1").arg(maxCallDepth));
    QString host;
    QString error;
    if (!hostPath(path, host, error))
        return refuse(error);
    if (!QFileInfo(host).isFile()) {
        reportMissingPath();
        return true;
    }
    return runBatch(host, depth + 1);
}

// On Windows "cl" exists only in the environment that vcvars64.bat sets up; the stand-in
// vcvars64.bat marks that environment with the target architecture.
bool CommandRunner::runCl(const QString &word, const QString &rest)
{
    QString architecture;
    if (!findCmdVariable(environment, QStringLiteral("VSCMD_ARG_TGT_ARCH"), architecture)) {
        writeTo(stderr,
            QStringLiteral("'%1' is not recognized as an internal or external command,\r\n"
                           "operable program or batch file.\r\n")
                .arg(word));
        errorLevel = 9009;
        return true;
    }
    if (architecture.compare(QLatin1String("x64"), Qt::CaseInsensitive) != 0)
        return refuse(
            QStringLiteral("unsupported target architecture %1 for cl").arg(architecture));
    QString error;
    const int status = runClWithClangCl(splitCrtArguments(rest), environment, error);
    if (status < 0)
        return refuse(error);
    errorLevel = status;
    return true;
}

void CommandRunner::reportMissingPath()
{
    writeTo(stderr, QStringLiteral("The system cannot find the path specified.\r\n"));
    errorLevel = 1;
}

bool CommandRunner::refuse(const QString &message)
{
    QString where;
    if (!currentFile.isEmpty())
        where = QStringLiteral(" (%1, line %2)").arg(currentFile).arg(currentLine);
    writeTo(stderr, QStringLiteral("cmd.exe stand-in: %1%2\n").arg(message, where));
    return false;
}
