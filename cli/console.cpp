#include "console.h"

#include <QStringEncoder>

#include <cstdio>

namespace {

QByteArray encoded(const QString &text)
{
#ifdef Q_OS_WIN
    // A Windows console shows text in its own code page (936 on a Chinese Windows), not UTF-8.
    return QStringEncoder(QStringEncoder::System)(text);
#else
    return text.toUtf8();
#endif
}

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = encoded(text);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Console::out(const QString &text)
{
    write(stdout, text);
}

void Console::outLine(const QString &line)
{
    write(stdout, line + QLatin1Char('\n'));
}

void Console::errorLine(const QString &line)
{
    write(stderr, line + QLatin1Char('\n'));
}
