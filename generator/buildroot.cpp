#include "buildroot.h"

#include "buildtree.h"
#include "kestrunelog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The source and include folders are made together; when both are there, neither is made again.
bool makeFolders(const QString &root)
{
    QDir dir;
    if (!dir.exists(root)) {
        if (!dir.mkpath(root)) {
            qCDebug(lcKestrune) << "Failed to create varnholtPath directory";
            return false;
        }
        qCDebug(lcKestrune) << "varnholtPath directory created successfully";
    }
    const QString srcPath = BuildTree::sourceFolder(root);
    const QString includePath = BuildTree::includeFolder(root);
    if (dir.exists(srcPath) && dir.exists(includePath)) {
        qCDebug(lcKestrune) << "srcPath directory already exists";
        return true;
    }
    if (!dir.mkpath(srcPath)) {
        qCDebug(lcKestrune) << "Failed to create srcPath directory";
        return false;
    }
    qCDebug(lcKestrune) << "srcPath directory created successfully";
    if (!dir.mkpath(includePath)) {
        qCDebug(lcKestrune) << "Failed to create includePath directory";
        return false;
    }
    qCDebug(lcKestrune) << "includePath directory created successfully";
    return true;
}

bool copyInto(const QStringList &files, const QString &folder, QStringList &copies)
{
    for (const QString &file : files) {
        QString target = folder;
        if (!BuildRoot::copyFileReplacing(file, target))
            return false;
        copies.append(target);
    }
    return true;
}

bool sameContent(const QString &first, const QString &second)
{
    QFile a(first), b(second);
    if (a.size() != b.size() || !a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    while (!a.atEnd()) {
        if (a.read(1 << 16) != b.read(1 << 16))
            return false;
    }
    return true;
}

// A copy that exists is the user's: it is listed when it differs from what was picked, and left.
bool copyMissingInto(
    const QStringList &files, const QString &folder, QStringList &copies, QStringList &kept)
{
    for (const QString &file : files) {
        QString target = folder + "/" + QFileInfo(file).fileName();
        if (QFileInfo::exists(target)) {
            if (!sameContent(file, target))
                kept.append(target);
        } else {
            target = folder;
            if (!BuildRoot::copyFileReplacing(file, target))
                return false;
        }
        copies.append(target);
    }
    return true;
}

} // namespace

int BuildRoot::createKeepingCopies(const QStringList &headers, const QStringList &sources,
    const QString &projectFolder, QStringList &headerCopies, QStringList &sourceCopies,
    QStringList &kept)
{
    const QString root = BuildTree::root(projectFolder);
    if (!makeFolders(root))
        return 1;
    if (!copyMissingInto(headers, BuildTree::includeFolder(root), headerCopies, kept)
        || !copyMissingInto(sources, BuildTree::sourceFolder(root), sourceCopies, kept))
        return 2;
    return 0;
}

int BuildRoot::create(const QStringList &headers, const QStringList &sources,
    const QString &projectFolder, QStringList &headerCopies, QStringList &sourceCopies)
{
    const QString root = BuildTree::root(projectFolder);
    if (!makeFolders(root))
        return 1;
    if (!copyInto(headers, BuildTree::includeFolder(root), headerCopies)
        || !copyInto(sources, BuildTree::sourceFolder(root), sourceCopies))
        return 2;
    return 0;
}

bool BuildRoot::copyFileReplacing(const QString &source, QString &target)
{
    target += "/" + QFileInfo(source).fileName();

    if (!QFile::exists(source)) {
        qCWarning(lcKestrune) << "Source file does not exist:" << source;
        return false;
    }
    // Rebuilding from an earlier tree can pick the copy itself; removing the target would then
    // delete the user's only file.
    if (QFile::exists(target) && QFileInfo(source) == QFileInfo(target)) {
        qCDebug(lcKestrune) << "File is already in place:" << target;
        return true;
    }
    if (QFile::exists(target) && !QFile::remove(target)) {
        qCWarning(lcKestrune) << "Failed to remove existing file:" << target;
        return false;
    }
    if (!QFile::copy(source, target)) {
        qCWarning(lcKestrune) << "Failed to copy file from" << source << "to" << target;
        return false;
    }
    qCDebug(lcKestrune) << "File copied successfully from" << source << "to" << target;
    return true;
}

// What of a build root no generated file can carry, whatever it escapes:
// - ";" splits CMake's list properties (sources, include and link folders) with no escape;
// - "${" and "$NAME{" are expanded by CMake in source file paths;
// - "$(", "@(" and "%(" start MSBuild properties, item lists and metadata in the project files;
// - a network path ("\\server\share") cannot be cmd's working directory.
// Returns the piece found, empty when the build root is usable.
QString BuildRoot::unusablePart(const QString &buildRoot)
{
    if (buildRoot.startsWith(QLatin1String("//")) || buildRoot.startsWith(QLatin1String("\\\\")))
        return QStringLiteral("\\\\");
    static const QRegularExpression unusable(QStringLiteral(";|\\$[A-Za-z]*\\{|[$@%]\\("));
    return unusable.match(buildRoot).captured(0);
}
