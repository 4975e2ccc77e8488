#include "toolchain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString findProgram(const QStringList &names)
{
    for (const QString &name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    for (const QString &name : names) {
        const QString found
            = QStandardPaths::findExecutable(name, { QStringLiteral("/usr/lib/llvm-14/bin") });
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

// The installation this program belongs to: the nearest folder above it that holds the MSVC
// toolsets (devenv.exe lies two folders down in Common7/IDE, MSBuild.exe four in
// MSBuild/.../amd64).
QString installationFolder()
{
    QDir folder(QCoreApplication::applicationDirPath());
    for (int up = 0; up < 6; ++up) {
        if (folder.exists(QStringLiteral("VC/Tools/MSVC")))
            return folder.absolutePath();
        if (!folder.cdUp())
            break;
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../.."));
}

// The newest version folder below a folder of versions.
QString newestVersionFolder(const QString &msvcFolder)
{
    QStringList versions
        = QDir(msvcFolder)
              .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    return versions.isEmpty() ? QString() : msvcFolder + "/" + versions.first();
}

} // namespace

bool findToolchain(Toolchain &toolchain, QString &error)
{
    toolchain.compiler = findProgram({ QStringLiteral("clang-cl"), QStringLiteral("clang-cl-14") });
    toolchain.linker = findProgram({ QStringLiteral("lld-link"), QStringLiteral("lld-link-14") });
    toolchain.librarian
        = findProgram({ QStringLiteral("llvm-lib"), QStringLiteral("llvm-lib-14") });
    if (toolchain.compiler.isEmpty() || toolchain.linker.isEmpty()
        || toolchain.librarian.isEmpty()) {
        error = QStringLiteral("the stand-in devenv needs clang-cl, lld-link and llvm-lib "
                               "(packages clang-14, lld-14 and llvm-14)");
        return false;
    }
    return true;
}

bool defaultLibraryFolders(const QString &sdkVersion, QStringList &folders, QString &error)
{
    const QString installation = installationFolder();
    const QString toolset = newestVersionFolder(installation + QStringLiteral("/VC/Tools/MSVC"));
    if (!toolset.isEmpty())
        folders << toolset + QStringLiteral("/lib/x64");
    // <Program Files>/Microsoft Visual Studio/<year>/<edition> lies beside <Program Files>/Windows
    // Kits; a project that names no SDK version gets the newest.
    const QString kits
        = QDir::cleanPath(installation + QStringLiteral("/../../../Windows Kits/10/Lib"));
    const QString version
        = sdkVersion.isEmpty() ? QFileInfo(newestVersionFolder(kits)).fileName() : sdkVersion;
    const QString sdk = kits + QLatin1Char('/') + version;
    if (version.isEmpty() || !QFileInfo(sdk).isDir()) {
        error = QStringLiteral("The Windows SDK version %1 was not found. Install the "
                               "required version of Windows SDK or change the SDK version in the "
                               "project property pages.")
                    .arg(version);
        return false;
    }
    for (const char *kind : { "/um/x64", "/ucrt/x64" }) {
        if (QFileInfo(sdk + QLatin1String(kind)).isDir())
            folders << sdk + QLatin1String(kind);
    }
    return true;
}
