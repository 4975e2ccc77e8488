#include "kestrune.h"

#include <QFileSystemWatcher>

CKestrune::CKestrune() : QObject(nullptr), fileWatcher(new QFileSystemWatcher(this))
{
    // The watcher is the context object: the reaction runs inside the emission, on this thread.
    connect(fileWatcher, &QFileSystemWatcher::fileChanged, fileWatcher,
        [this](const QString &path) { onSourceFileChanged(path); });
}

CKestrune::~CKestrune() = default;

QStringList CKestrune::watchedSources() const
{
    return fileWatcher->files();
}

void CKestrune::setProcessTimeoutsForTesting(int milliseconds)
{
    processTimeoutMs = milliseconds;
}

const CKestrune::BuildOutcome &CKestrune::lastBuildOutcome() const
{
    return buildOutcome;
}
