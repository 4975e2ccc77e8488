#include "crlftextfile.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

CrlfTextFile::CrlfTextFile(const QString &path) : file(path) { }

bool CrlfTextFile::openForWriting()
{
    return open(false);
}

bool CrlfTextFile::openForAppending()
{
    return open(true);
}

bool CrlfTextFile::open(bool keepContents)
{
    const QString refusal = refusalToReplace(file.fileName());
    if (!refusal.isEmpty()) {
        fail(refusal);
        return false;
    }
    QByteArray previous;
    if (keepContents && QFileInfo::exists(file.fileName())) {
        QFile existing(file.fileName());
        if (!existing.open(QIODevice::ReadOnly)) {
            fail(existing.errorString());
            return false;
        }
        previous = existing.readAll();
    }
    if (!file.open(QIODevice::WriteOnly)) {
        fail(file.errorString());
        return false;
    }
    writeBytes(previous);
    return true;
}

void CrlfTextFile::fail(const QString &reason)
{
    if (error.isEmpty())
        error = reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
}

QByteArray CrlfTextFile::encoded(const QString &text)
{
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
    bytes.truncate(out - bytes.constData());
    return bytes;
}

void CrlfTextFile::write(const QString &text)
{
    writeBytes(encoded(text));
}

void CrlfTextFile::writeLine(const QString &line)
{
    write(line + QLatin1Char('\n'));
}

void CrlfTextFile::writeBytes(const QByteArray &bytes)
{
    if (!file.isOpen() || !error.isEmpty() || bytes.isEmpty())
        return;
    if (file.write(bytes) != bytes.size())
        fail(file.errorString());
}

bool CrlfTextFile::commit()
{
    if (committed)
        return error.isEmpty();
    committed = true;
    if (!file.isOpen()) {
        fail(QStringLiteral("The file was not opened for writing"));
        return false;
    }
    // What is still buffered is written now; a disk that fills here must fail the whole file.
    if (error.isEmpty() && !file.flush())
        fail(file.errorString());
    if (!error.isEmpty()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        fail(file.errorString());
        return false;
    }
    return true;
}

void CrlfTextFile::cancel()
{
    if (committed || !file.isOpen())
        return;
    committed = true;
    file.cancelWriting();
    file.commit();
}

bool CrlfTextFile::flush()
{
    return commit();
}

void CrlfTextFile::close()
{
    commit();
}

QString CrlfTextFile::errorString() const
{
    return error;
}

FileResult CrlfTextFile::result() const
{
    return { file.fileName(), error };
}

QString CrlfTextFile::refusalToReplace(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return QString();
    // WriteUser is left out: it says what the running user may do, and root may do anything.
    const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!(info.permissions() & writable) || !info.isWritable())
        return QStringLiteral("The file is read-only");
    return QString();
}
