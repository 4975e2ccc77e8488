// The commands of CommandRunner that move between folders: pushd, popd and cd.
#include "commandrunner.h"

#include "windowspaths.h"

#include <QDir>

// pushd and cd take the rest of the line as one folder: blanks need no quotes, quotes go.
static QString folderArgument(const QString &rest)
{
    QString folder = rest.trimmed();
    folder.remove(QLatin1Char('"'));
    return folder;
}

// Success leaves the error level alone, as these commands do in a .bat file; a missing folder
// sets it to 1 and leaves changed false.
bool CommandRunner::changeFolder(const QString &windowsFolder, bool &changed)
{
    QString folder;
    QString error;
    if (!hostPath(windowsFolder, folder, error))
        return refuse(error);
    changed = QDir::setCurrent(folder);
    if (!changed)
        reportMissingPath();
    return true;
}

bool CommandRunner::runPushd(const QString &rest)
{
    const QString folder = folderArgument(rest);
    if (folder.isEmpty())
        return refuse(QStringLiteral("unsupported pushd without a folder"));
    const QString previous = QDir::currentPath();
    bool changed = false;
    if (!changeFolder(folder, changed))
        return false;
    if (changed)
        pushedFolders << previous;
    return true;
}

bool CommandRunner::runPopd(const QString &rest)
{
    if (!rest.trimmed().isEmpty())
        return refuse(QStringLiteral("unsupported arguments of popd: %1").arg(rest.trimmed()));
    if (!pushedFolders.isEmpty())
        QDir::setCurrent(pushedFolders.takeLast());
    return true;
}

// "cd /d <folder>" changes the drive too; with the host as the only drive, "cd <folder>" is the
// same.
bool CommandRunner::runCd(const QString &rest)
{
    QString folder = rest.trimmed();
    if (folder.startsWith(QLatin1String("/d"), Qt::CaseInsensitive))
        folder = folder.mid(2);
    folder = folderArgument(folder);
    if (folder.isEmpty())
        return refuse(QStringLiteral("unsupported cd without a folder"));
    bool changed = false;
    return changeFolder(folder, changed);
}
