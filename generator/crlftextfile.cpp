#include "crlftextfile.h"

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
    QByteArray bytes = text.toUtf8();
    bytes.replace("\n", "\r\n");
    file.write(bytes);
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
