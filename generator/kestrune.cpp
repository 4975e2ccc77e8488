#include "kestrune.h"

#include "buildroot.h"
#include "buildtree.h"
#include "cmakefiles.h"
#include "cmakerun.h"
#include "fluentinstallation.h"
#include "functiontable.h"
#include "kestrunelog.h"
#include "solutionbuilder.h"
#include "solutioncleanup.h"
#include "solutionrequest.h"

#include <QDebug>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {
// Long enough to take an editor's save of several files, or a write and a rename, as one change.
const int regenerationDelayMs = 25;
// A solution of many sources builds for minutes; an hour is a hung build.
const int libraryBuildTimeoutMs = 60 * 60 * 1000;
} // namespace

CKestrune::CKestrune()
    : QObject(nullptr), fileWatcher(new QFileSystemWatcher(this)),
      buildEvents(new BuildEvents(this)), regenerationTimer(new QTimer(this))
{
    // The watcher is the context object: the reaction runs inside the emission, on this thread.
    connect(fileWatcher, &QFileSystemWatcher::fileChanged, fileWatcher,
        [this](const QString &path) { scheduleRegeneration(path); });
    regenerationTimer->setSingleShot(true);
    regenerationTimer->setInterval(regenerationDelayMs);
    connect(regenerationTimer, &QTimer::timeout, this, &CKestrune::startRegeneration);

    // The tools report from whichever thread runs them; the events reach their receivers queued.
    tools.setListener(buildEvents->toolListener());
    buildTools.setListener(buildEvents->toolListener());
    buildTools.setTimeoutMs(libraryBuildTimeoutMs);
    qRegisterMetaType<LibraryBuildOutcome>();
}

// A regeneration or a build still running is ended: its tools are stopped and its thread waited
// for.
CKestrune::~CKestrune()
{
    tools.cancel();
    buildTools.cancel();
    createThread.wait();
    libraryBuildThread.wait();
    regenerationThread.wait();
}

QStringList CKestrune::watchedSources() const
{
    return fileWatcher->files();
}

void CKestrune::setProcessTimeoutsForTesting(int milliseconds)
{
    tools.setTimeoutMs(milliseconds);
}

qint64 CKestrune::externalProcessWaitNs() const
{
    return tools.waitNs();
}

const CKestrune::BuildOutcome &CKestrune::lastBuildOutcome() const
{
    return buildOutcome;
}

// The build recorded for the watcher: its sources are watched and regenerated from this record.
void CKestrune::recordBuild(const SolutionRequest &request)
{
    buildHeaders = request.headers;
    buildSources = request.sources;
    buildNodeSources = request.nodeSources();
    variant = request.variant;
    fluentPath = request.fluentPath;
    vsPath = request.vsPath;
    buildRoot = request.buildRoot;
    record = BuildRecord::of(request);

    // Qt warns about empty path lists; an empty source list simply leaves nothing watched.
    const QStringList watched = fileWatcher->files();
    if (!watched.isEmpty())
        fileWatcher->removePaths(watched);
    if (!request.sources.isEmpty())
        fileWatcher->addPaths(request.sources);
}

// Only a build whose every step worked counts as done.
bool CKestrune::buildSolution(const SolutionRequest &request)
{
    recordBuild(request);
    buildOutcome = SolutionBuilder(tools, *buildEvents).build(request, BuildOutcome());
    if (buildOutcome.succeeded())
        buildOutcome.recordWritten = writeBuildRecord();
    return buildOutcome.succeeded();
}

// Written once the solution exists, so that a build root with a record is one that can be resumed.
// A case folder chosen for an earlier build of the same root is kept.
bool CKestrune::writeBuildRecord()
{
    BuildRecord onDisk;
    if (BuildRecordFile::read(record.buildRoot, onDisk) == BuildRecordFile::Status::Read)
        record.caseFolder = onDisk.caseFolder;
    QString error;
    if (BuildRecordFile::write(record, &error))
        return true;
    qCWarning(lcKestrune) << "Failed to write the build record"
                          << BuildRecordFile::path(record.buildRoot) << error;
    return false;
}

bool CKestrune::buildCouplingSolution(QStringList headers, QStringList sources, QString variant,
    QString fluentPath, QString edemPath, QString vsPath, QString buildRoot)
{
    return buildSolution(
        { true, headers, sources, variant, fluentPath, edemPath, vsPath, buildRoot });
}

bool CKestrune::buildUdfSolution(QStringList headers, QStringList sources, QString variant,
    QString fluentPath, QString vsPath, QString buildRoot)
{
    return buildSolution(
        { false, headers, sources, variant, fluentPath, QString(), vsPath, buildRoot });
}

int CKestrune::createBuildRoot(QStringList headers, QStringList sources, QString projectFolder,
    QStringList &headerCopies, QStringList &sourceCopies)
{
    return BuildRoot::create(headers, sources, projectFolder, headerCopies, sourceCopies);
}

bool CKestrune::copyFileReplacing(const QString &source, QString &target)
{
    return BuildRoot::copyFileReplacing(source, target);
}

QString CKestrune::unusableInBuildRoot(const QString &buildRoot)
{
    return BuildRoot::unusablePart(buildRoot);
}

QString CKestrune::solutionFileOf(const QString &buildRoot)
{
    return BuildTree::solutionFileOf(buildRoot);
}

// The function table comes first so that the file can name udf_names.obj; whatever the table
// steps did, the file is written.
bool CKestrune::writeCouplingVariantCMakeLists(const QStringList &headers,
    const QStringList &sources, const QString &variant, const QString &fluentPath,
    const QString &edemPath, const QString &vsPath, const QString &variantDirectory)
{
    FunctionTable::build(tools, sources, variant, fluentPath, vsPath, variantDirectory);
    return CMakeFiles::writeVariant(
        { true, headers, sources, variant, fluentPath, edemPath, variantDirectory });
}

bool CKestrune::writeUdfVariantCMakeLists(const QStringList &headers, const QStringList &sources,
    const QString &variant, const QString &fluentPath, const QString &vsPath,
    const QString &variantDirectory)
{
    FunctionTable::build(tools, sources, variant, fluentPath, vsPath, variantDirectory);
    return CMakeFiles::writeVariant(
        { false, headers, sources, variant, fluentPath, QString(), variantDirectory });
}

QStringList CKestrune::readFluentIncludeDirs(
    const QString &makefilePath, const QString &fluentPath, const QString &variant)
{
    return FluentInstallation::includeDirs(makefilePath, fluentPath, variant);
}

QPair<QString, QString> CKestrune::fluentRelease(const QString &fluentPath)
{
    return FluentInstallation::release(fluentPath);
}

QString CKestrune::fluentMakefilePath(const QString &fluentPath)
{
    return FluentInstallation::makefilePath(fluentPath);
}

QString CKestrune::visualStudioGenerator(const QString &vsPath)
{
    return CMakeRun::visualStudioGenerator(vsPath);
}

QString CKestrune::minimumCMakeVersionFor(const QString &generator)
{
    return CMakeRun::minimumVersionFor(generator);
}

// The one operation that reads the record: the Visual Studio installation of the last build.
bool CKestrune::runCMake(const QString &buildRoot)
{
    return CMakeRun::run(tools, buildRoot, vsPath).inTime;
}

void CKestrune::cleanSolution(const QString &variant, const QString &buildRoot)
{
    SolutionCleanup::clean(variant, buildRoot);
}

void CKestrune::removeCMakeProjectsFromSln(const QString &slnPath)
{
    SolutionCleanup::removeCMakeProjectsFromSln(slnPath);
}

void CKestrune::removeCMakeProjectsFromSlnx(const QString &slnxPath)
{
    SolutionCleanup::removeCMakeProjectsFromSlnx(slnxPath);
}

void CKestrune::removeCustomBuildFromVcxproj(const QString &vcxprojPath)
{
    SolutionCleanup::removeCustomBuildFromVcxproj(vcxprojPath);
}

QStringList CKestrune::findUdfDefinitions(const QString &sourcePath)
{
    return FunctionTable::findDefinitions(sourcePath);
}

void CKestrune::writeUdfNames(const QStringList &sources, const QString &variantDirectory)
{
    FunctionTable::write(sources, variantDirectory);
}

void CKestrune::compileUdfNames(const QString &variant, const QString &fluentPath,
    const QString &vsPath, const QString &variantDirectory)
{
    FunctionTable::compile(tools, variant, fluentPath, vsPath, variantDirectory);
}

void CKestrune::removeUdfNamesTemporaries(const QString &variantDirectory)
{
    FunctionTable::removeTemporaries(variantDirectory);
}
