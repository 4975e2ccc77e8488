#include "crlftextfile.h"

#include <cstring>

CrlfTextFile::CrlfTextFile(const QString &path) : file(path) { }

bool CrlfTextFile::openForWriting()
{
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool CrlfTextFile::openForAppending()
{
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

void CrlfTextFile::write(const QString &text)
{
    if (!file.isOpen())
        return;
    // Copied line by line into a buffer large enough for any text: QByteArray::replace is slow on
    // texts of many short lines, and the function tables of large projects have thousands.
    const QByteArray utf8 = text.toUtf8();
    QByteArray bytes(2 * utf8.size(), Qt::Uninitialized);
    char *out = bytes.data();
    const char *from = utf8.constData();
    const char *const end = from + utf8.size();
    while (const char *lineFeed = static_cast<const char *>(std::memchr(from, '\n', end - from))) {
        std::memcpy(out, from, lineFeed - from);
        out += lineFeed - from;
        *out++ = '\r';
        *out++ = '\n';
        from = lineFeed + 1;
    }
    std::memcpy(out, from, end - from);
    out += end - from;
    file.write(bytes.constData(), out - bytes.constData());
}

void CrlfTextFile::writeLine(const QString &line)
{
    write(line);
    write(QStringLiteral("\n"));
}

bool CrlfTextFile::flush()
{
    return file.isOpen() && file.flush();
}

void CrlfTextFile::close()
{
    file.close();
}

QString CrlfTextFile::errorString() const
{
    return file.errorString();
}
