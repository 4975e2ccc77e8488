#include "librarydeployment.h"

#include "buildtree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <vector>

namespace {

const QString libraryName = QStringLiteral("libudf.dll");
const qint64 pieceBytes = 1 << 20;

QString libraryFolderName(bool coupling)
{
    return coupling ? QStringLiteral("edem_udf") : QStringLiteral("libudf");
}

using Problem = LibraryDeployment::Result::Problem;

void fail(LibraryDeployment::Result &result, Problem problem, const QString &library,
    const QString &reason)
{
    result.problem = problem;
    result.failedLibrary = library;
    result.reason = reason;
}

// Everything that can be known before writing: the built libraries exist and no target is loaded.
bool checkCopies(const QList<LibraryDeployment::Copy> &copies, LibraryDeployment::Result &result)
{
    for (const LibraryDeployment::Copy &copy : copies) {
        if (!QFileInfo(copy.built).isFile()) {
            fail(result, Problem::BuiltLibraryMissing, copy.built,
                QStringLiteral("the build made no library there"));
            return false;
        }
    }
    for (const LibraryDeployment::Copy &copy : copies) {
        if (LibraryDeployment::isInUse(copy.target)) {
            fail(result, Problem::InUse, copy.target,
                QStringLiteral("a running process has the library loaded"));
            return false;
        }
    }
    return true;
}

// The new library in a temporary file beside the target, complete and flushed, or false.
bool writeBeside(const LibraryDeployment::Copy &copy, QSaveFile &file,
    const std::function<bool()> &cancelled, LibraryDeployment::Result &result)
{
    QFile source(copy.built);
    if (!source.open(QIODevice::ReadOnly)) {
        fail(result, Problem::WriteFailed, copy.built, source.errorString());
        return false;
    }
    if (!QDir().mkpath(QFileInfo(copy.target).absolutePath()) || !file.open(QIODevice::WriteOnly)) {
        fail(result, Problem::WriteFailed, copy.target,
            file.errorString().isEmpty() ? QStringLiteral("cannot make the folder")
                                         : file.errorString());
        return false;
    }
    while (!source.atEnd()) {
        if (cancelled && cancelled()) {
            fail(result, Problem::Cancelled, copy.target, QStringLiteral("cancelled"));
            return false;
        }
        const QByteArray piece = source.read(pieceBytes);
        if (piece.isEmpty() || file.write(piece) != piece.size()) {
            fail(result, Problem::WriteFailed, copy.target,
                piece.isEmpty() ? source.errorString() : file.errorString());
            return false;
        }
    }
    return file.flush();
}

} // namespace

QString LibraryDeployment::builtLibrary(
    const QString &buildRoot, const QString &configuration, bool coupling, const QString &variant)
{
    return QStringLiteral("%1/%2/%3/win64/%4/%5")
        .arg(BuildTree::solutionFolder(buildRoot), configuration, libraryFolderName(coupling),
            variant, libraryName);
}

QString LibraryDeployment::caseLibrary(
    const QString &caseFolder, bool coupling, const QString &variant)
{
    return QStringLiteral("%1/%2/win64/%3/%4")
        .arg(caseFolder, libraryFolderName(coupling), variant, libraryName);
}

QList<LibraryDeployment::Copy> LibraryDeployment::copiesOf(const QString &buildRoot,
    const QString &caseFolder, const QString &configuration, bool coupling,
    const QStringList &variants)
{
    QList<Copy> copies;
    for (const QString &variant : variants) {
        copies << Copy { builtLibrary(buildRoot, configuration, coupling, variant),
            caseLibrary(caseFolder, coupling, variant) };
    }
    return copies;
}

// Every new library is complete beside its target before the first is renamed into place, so that
// a host and its node are replaced together or not at all, as far as the file system allows.
LibraryDeployment::Result LibraryDeployment::lay(
    const QList<Copy> &copies, const std::function<bool()> &cancelled)
{
    Result result;
    if (!checkCopies(copies, result))
        return result;
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const Copy &copy : copies) {
        files.push_back(std::make_unique<QSaveFile>(copy.target));
        if (!writeBeside(copy, *files.back(), cancelled, result))
            return result; // the unfinished files discard their temporaries
    }
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const QString &target = copies.at(i).target;
        if (!files.at(size_t(i))->commit()) {
            const QString reason = files.at(size_t(i))->errorString();
            fail(result, isInUse(target) ? Problem::InUse : Problem::WriteFailed, target, reason);
            return result;
        }
        result.laid << target;
    }
    return result;
}

#ifdef Q_OS_WIN
// Windows refuses write access to a loaded DLL, and so to the library a running Fluent holds.
bool LibraryDeployment::isInUse(const QString &library)
{
    const QFileInfo info(library);
    if (!info.isFile() || !info.isWritable())
        return false;
    QFile file(library);
    return !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}
#else
#include <sys/stat.h>

namespace {

bool mapsFile(const QString &process, const QByteArray &path)
{
    QFile maps(process + QStringLiteral("/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    // "address perms offset dev inode path": the path runs from the first "/" to the line's end.
    for (const QByteArray &line : maps.readAll().split('\n')) {
        const qsizetype slash = line.indexOf('/');
        if (slash > 0 && line.mid(slash) == path)
            return true;
    }
    return false;
}

bool holdsOpen(const QString &process, const struct stat &target)
{
    const QString fds = process + QStringLiteral("/fd");
    for (const QString &fd :
        QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        struct stat held;
        if (::stat(QFile::encodeName(fds + QLatin1Char('/') + fd).constData(), &held) == 0
            && held.st_dev == target.st_dev && held.st_ino == target.st_ino)
            return true;
    }
    return false;
}

} // namespace

// Elsewhere a loaded library can be replaced under its users; they are found in /proc: a process
// that maps the file (a loader, Wine's included) or holds it open.
bool LibraryDeployment::isInUse(const QString &library)
{
    const QString canonical = QFileInfo(library).canonicalFilePath();
    struct stat target;
    if (canonical.isEmpty() || ::stat(QFile::encodeName(canonical).constData(), &target) != 0)
        return false;
    const QByteArray path = QFile::encodeName(canonical);
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : processes) {
        bool number = false;
        pid.toLongLong(&number);
        const QString process = QStringLiteral("/proc/") + pid;
        if (number && (mapsFile(process, path) || holdsOpen(process, target)))
            return true;
    }
    return false;
}
#endif
