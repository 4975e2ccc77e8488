#ifndef FILETREE_H
#define FILETREE_H

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

// Small file-tree chores of the solution tests: laying files out and telling what a tree holds.
namespace filetree {

// Writes the file, making its folder first; false when that fails.
inline bool write(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline bool copy(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries
        = QDir(from).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = to + "/" + entry.fileName();
        if (!(entry.isDir() ? copy(entry.filePath(), target)
                            : QFile::copy(entry.filePath(), target)))
            return false;
    }
    return true;
}

// Every file and folder under the root, relative to it, sorted, one a line; folders end with "/".
inline QString listing(const QString &root)
{
    QStringList entries;
    QDirIterator it(
        root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = it.filePath().mid(root.size() + 1);
        entries.append(it.fileInfo().isDir() ? relative + "/" : relative);
    }
    entries.sort();
    return entries.join('\n') + '\n';
}

} // namespace filetree

#endif // FILETREE_H
