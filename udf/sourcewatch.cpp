#include "kestrune.h"
#include "variants.h"

#include <QDebug>
#include <QFileSystemWatcher>

void CKestrune::onSourceFileChanged(const QString &path)
{
    qDebug() << path << "文件被修改！";
    // An editor that saves by renaming over the file drops it from the watch; adding it back keeps
    // it watched across saves.
    fileWatcher->removePath(path);
    fileWatcher->addPath(path);

    if (variant.isEmpty()) {
        qDebug() << "No build yet; nothing to regenerate";
        return;
    }
    for (const QString &name : variantsOfBuild(variant)) {
        const QString directory = buildRoot + "/" + name;
        // The node library of a coupling build holds no adaptor file, so neither may its table.
        const QStringList &sources = name == variant ? buildSources : buildNodeSources;
        writeUdfNames(sources, directory);
        compileUdfNames(name, fluentPath, vsPath, directory);
        removeUdfNamesTemporaries(directory);
    }
}
