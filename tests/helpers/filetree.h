#ifndef FILETREE_H
#define FILETREE_H

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

// Writes the file under the root, making its folder first; its path, or empty when that fails.
inline QString make(const QString &root, const QString &relativePath, const QByteArray &content)
{
    const QString path = root + "/" + relativePath;
    return write(path, content) ? path : QString();
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
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

// The file API's description of one target of a configured build folder (which must have asked
// for the codemodel before configuring); empty when there is none.
inline QJsonObject codemodelTarget(const QString &buildFolder, const QString &targetName)
{
    const QString reply = buildFolder + "/.cmake/api/v1/reply";
    const QStringList targets
        = QDir(reply).entryList({ "target-" + targetName + "-*.json" }, QDir::Files);
    if (targets.isEmpty())
        return {};
    QFile file(reply + "/" + targets.constFirst());
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

} // namespace filetree

#endif // FILETREE_H
