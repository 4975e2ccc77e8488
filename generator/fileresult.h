#ifndef FILERESULT_H
#define FILERESULT_H

#include <QList>
#include <QString>

// What became of one file the engine meant to write, rewrite, read or remove: a file it could not
// handle is left as it was, and the reason says why (a full disk, a read-only file, ...).
struct FileResult {
    QString path;
    QString error; // empty when it went well

    bool succeeded() const { return error.isEmpty(); }
    bool operator==(const FileResult &other) const
    {
        return path == other.path && error == other.error;
    }
};

using FileResults = QList<FileResult>;

#endif // FILERESULT_H
