#include "batchreader.h"

#include "cmdvariables.h"

BatchReader::BatchReader(const QString &text, const QString &batchPath) : batchPath(batchPath)
{
    lines = text.split(QLatin1Char('\n'));
    // A final line break ends the last line; it does not start an empty one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    // cmd drops every carriage return while reading a line.
    for (QString &line : lines)
        line.remove(QLatin1Char('\r'));
}

bool BatchReader::atEnd() const
{
    return current >= lines.size();
}

static bool expandVariable(const QString &line, int &position,
    const QProcessEnvironment &environment, QString &expanded, QString &error)
{
    const int close = line.indexOf(QLatin1Char('%'), position + 1);
    if (close < 0) {
        ++position; // a lone percent sign is dropped, the rest of the line stays
        return true;
    }
    const QString name = line.mid(position + 1, close - position - 1);
    if (name.contains(QLatin1Char(':'))) {
        error = QStringLiteral("unsupported variable substitution %") + name + QLatin1Char('%');
        return false;
    }
    QString value;
    if (findCmdVariable(environment, name, value))
        expanded += value;
    position = close + 1;
    return true;
}

// The parts of a full path that the modifiers of %~<modifiers>0 pick, in cmd's order: drive,
// folder with its final backslash, name, extension; "f" or no part letter gives the whole path.
static QString batchPathPart(const QString &path, const QString &modifiers)
{
    const int folderEnd = path.lastIndexOf(QLatin1Char('\\')) + 1;
    const QString fileName = path.mid(folderEnd);
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString parts[] = { path.left(2), path.mid(2, folderEnd - 2),
        dot < 0 ? fileName : fileName.left(dot), dot < 0 ? QString() : fileName.mid(dot) };
    QString result;
    for (int i = 0; i < 4; ++i) {
        if (modifiers.contains(QLatin1String("dpnx").at(i)))
            result += parts[i];
    }
    return result.isEmpty() ? path : result;
}

// %~<modifiers>0 at position, which holds the percent sign. Only the batch file's own path is a
// parameter here: "cmd.exe /c" passes none.
static bool expandParameter(
    const QString &line, int &position, const QString &batchPath, QString &expanded, QString &error)
{
    int end = position + 2;
    while (end < line.size() && QStringLiteral("fdpnx").contains(line.at(end).toLower()))
        ++end;
    const QString modifiers = line.mid(position + 2, end - position - 2).toLower();
    if (end >= line.size() || line.at(end) != QLatin1Char('0') || batchPath.isEmpty()) {
        error = QStringLiteral("unsupported batch parameter ")
            + line.mid(position, end + 1 - position);
        return false;
    }
    expanded += batchPathPart(batchPath, modifiers);
    position = end + 1;
    return true;
}

bool expandBatchVariables(const QString &line, const QProcessEnvironment &environment,
    const QString &batchPath, QString &expanded, QString &error)
{
    expanded.clear();
    int i = 0;
    while (i < line.size()) {
        if (line.at(i) != QLatin1Char('%')) {
            expanded += line.at(i++);
            continue;
        }
        const QChar next = i + 1 < line.size() ? line.at(i + 1) : QChar();
        if (next == QLatin1Char('%')) {
            expanded += QLatin1Char('%');
            i += 2;
        } else if (next == QLatin1Char('~')) {
            if (!expandParameter(line, i, batchPath, expanded, error))
                return false;
        } else if (next.isDigit() || next == QLatin1Char('*')) {
            error = QStringLiteral("unsupported batch parameter %") + next;
            return false;
        } else if (!expandVariable(line, i, environment, expanded, error)) {
            return false;
        }
    }
    return true;
}

// Applies cmd's quoting and escaping to one expanded line and appends it to the command. Returns
// true when the line ends in a caret outside quotes, i.e. the command goes on with the next line.
static bool appendLine(const QString &line, bool firstLiteral, bool &quoted, BatchCommand &command)
{
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (i == 0 && firstLiteral) {
            command.text += c; // cmd takes the first character after a continuation literally
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            command.text += c;
        } else if (quoted) {
            command.text += c;
        } else if (c == QLatin1Char('^')) {
            if (i + 1 == line.size())
                return true;
            command.text += line.at(++i);
        } else {
            if (QStringLiteral("&|<>").contains(c) && command.operatorOutsideQuotes.isNull())
                command.operatorOutsideQuotes = c;
            command.text += c;
        }
    }
    return false;
}

bool BatchReader::next(
    const QProcessEnvironment &environment, BatchCommand &command, QString &error)
{
    command = BatchCommand();
    command.lineNumber = current + 1;
    bool quoted = false;
    bool continued = false;
    while (current < lines.size()) {
        const QString &line = lines.at(current++);
        if (continued && line.isEmpty()) {
            // cmd would put a line feed into the command here; nothing we run expects that.
            error = QStringLiteral("unsupported empty line after a caret continuation");
            return false;
        }
        QString expanded;
        if (!expandBatchVariables(line, environment, batchPath, expanded, error))
            return false;
        continued = appendLine(expanded, continued, quoted, command);
        if (!continued)
            return true;
    }
    return true; // a caret on the last line of the file continues into nothing
}
