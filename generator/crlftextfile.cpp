#include "crlftextfile.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <filesystem>
#include <system_error>

CrlfTextFile::CrlfTextFile(const QString &path)
    : target(path), file(path + QStringLiteral(".XXXXXX.new"))
{
}

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
    const QString refusal = refusalToReplace(target);
    if (!refusal.isEmpty()) {
        fail(refusal);
        return false;
    }
    QByteArray previous;
    if (keepContents && QFileInfo::exists(target)) {
        QFile existing(target);
        if (!existing.open(QIODevice::ReadOnly)) {
            fail(existing.errorString());
            return false;
        }
        previous = existing.readAll();
    }
    if (!file.open()) {
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
        file.close();
        file.remove();
        return false;
    }
    return replaceTarget();
}

// A rename over the target is atomic: readers see the old file or the new one, never a mix.
bool CrlfTextFile::replaceTarget()
{
    const QFileDevice::Permissions permissions = QFileInfo::exists(target)
        ? QFile::permissions(target)
        : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther;
    file.setPermissions(permissions);
    file.close();
    std::error_code failure;
#ifdef Q_OS_WIN
    // Windows names files in UTF-16; elsewhere the file system takes the local 8-bit encoding.
    std::filesystem::rename(file.fileName().toStdWString(), target.toStdWString(), failure);
#else
    std::filesystem::rename(QFile::encodeName(file.fileName()).toStdString(),
        QFile::encodeName(target).toStdString(), failure);
#endif
    if (failure) {
        fail(QString::fromLocal8Bit(failure.message().c_str()));
        file.remove();
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

void CrlfTextFile::cancel()
{
    if (committed || !file.isOpen())
        return;
    committed = true;
    file.close();
    file.remove();
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
    return { target, error };
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
