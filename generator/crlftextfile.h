#ifndef CRLFTEXTFILE_H
#define CRLFTEXTFILE_H

#include "fileresult.h"

#include <QString>
#include <QTemporaryFile>

// Writes generated text the same way on every host: UTF-8 without byte-order mark and every line
// feed as CR LF, as Windows' text mode would. Qt's text mode writes bare line feeds on Linux, so
// the conversion is done here, in the one place every generated file goes through.
//
// The text goes to a file beside the target, which takes the target's place only on commit(): a
// full disk or a process killed half way leaves the previous file as it was, never a truncated one
// that passes for a whole one. A file the user made read-only is not replaced.
class CrlfTextFile {
public:
    explicit CrlfTextFile(const QString &path);

    // Replace the file, or add to its end (its present bytes are carried over, so it too is
    // replaced whole); false when it cannot be written, and errorString() says why.
    bool openForWriting();
    bool openForAppending();

    // Each line feed of the text is written as CR LF.
    void write(const QString &text);
    void writeLine(const QString &line = QString());
    // Bytes already in the file's encoding and line ends, for a rewrite that keeps every byte it
    // does not change.
    void writeBytes(const QByteArray &bytes);

    // Puts the file in place; false when any write failed, and the target is then as it was.
    bool commit();
    // Drops what was written; the target stays as it was.
    void cancel();
    // For writers that only check flush(): the same as commit().
    bool flush();
    void close();

    QString path() const { return target; }
    QString errorString() const;
    // The file and the reason, or the file alone when it was written.
    FileResult result() const;

    // The bytes write() would put into a file for the text.
    static QByteArray encoded(const QString &text);
    // Why the file must not be replaced, or empty: one marked read-only keeps its contents. The
    // permission bits are asked, as a superuser may write anything and Windows' read-only
    // attribute shows as no write permission.
    static QString refusalToReplace(const QString &path);

private:
    bool open(bool keepContents);
    void fail(const QString &reason);

    bool replaceTarget();

    QString target;
    // Beside the target, so that the rename that puts it in place stays on one file system. Not
    // flushed to the disk on commit, unlike QSaveFile: the files are made again from their
    // sources whenever they are needed, and a flush to the disk of each costs a save's
    // regeneration more than the writing itself.
    QTemporaryFile file;
    QString error;
    bool committed = false;
};

#endif // CRLFTEXTFILE_H
