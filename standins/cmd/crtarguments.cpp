#include "crtarguments.h"

static bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Backslashes in front of a double quote: each pair gives one backslash; an odd one left over
// makes the quote literal. Elsewhere backslashes are plain characters (Windows paths).
static int takeBackslashes(const QString &text, int position, QString &argument)
{
    int end = position;
    while (end < text.size() && text.at(end) == QLatin1Char('\\'))
        ++end;
    const int count = end - position;
    if (end >= text.size() || text.at(end) != QLatin1Char('"')) {
        argument += QString(count, QLatin1Char('\\'));
        return end;
    }
    argument += QString(count / 2, QLatin1Char('\\'));
    if (count % 2 == 0)
        return end; // the quote still opens or closes a quoted region
    argument += QLatin1Char('"');
    return end + 1;
}

QStringList splitCrtArguments(const QString &commandLine)
{
    QStringList arguments;
    int i = 0;
    const int size = commandLine.size();
    while (true) {
        while (i < size && isSeparator(commandLine.at(i)))
            ++i;
        if (i >= size)
            return arguments;
        QString argument;
        bool quoted = false;
        while (i < size && (quoted || !isSeparator(commandLine.at(i)))) {
            const QChar c = commandLine.at(i);
            if (c == QLatin1Char('\\')) {
                i = takeBackslashes(commandLine, i, argument);
            } else if (c == QLatin1Char('"') && quoted && i + 1 < size
                && commandLine.at(i + 1) == QLatin1Char('"')) {
                argument += QLatin1Char('"');
                i += 2;
            } else if (c == QLatin1Char('"')) {
                quoted = !quoted;
                ++i;
            } else {
                argument += c;
                ++i;
            }
        }
        arguments << argument;
    }
}
