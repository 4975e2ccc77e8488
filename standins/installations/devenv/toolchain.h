#ifndef DEVENV_TOOLCHAIN_H
#define DEVENV_TOOLCHAIN_H

#include <QString>
#include <QStringList>

// The programs that do Visual Studio's compiling and linking here: clang-cl for cl.exe, lld-link
// for link.exe and llvm-lib for lib.exe, looked up on PATH and in LLVM 14's folder.
struct Toolchain {
    QString compiler;
    QString linker;
    QString librarian;
};

bool findToolchain(Toolchain &toolchain, QString &error);

// The library folders Visual Studio searches after a project's own: the C runtime of the newest
// MSVC toolset of this installation and the Windows SDK of the given version, which lies beside the
// Visual Studio folder ("Windows Kits" next to "Microsoft Visual Studio"). The installation is the
// one this devenv.exe belongs to. False with a message when the SDK version is missing.
bool defaultLibraryFolders(const QString &sdkVersion, QStringList &folders, QString &error);

#endif // DEVENV_TOOLCHAIN_H
