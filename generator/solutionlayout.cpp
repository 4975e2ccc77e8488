#include "crlftextfile.h"
#include "kestrune.h"
#include "variants.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <algorithm>

// What one build is asked to make.
struct SolutionRequest {
    bool coupling = false;
    QStringList headers;
    QStringList sources;
    QString variant;
    QString fluentPath;
    QString edemPath;
    QString vsPath;
    QString buildRoot;
};

namespace {

// The adaptor talks to the EDEM client only from the host process; the node library must not
// contain it.
const QStringList adaptorFileNames { QStringLiteral("AdaptorInterface.cpp"),
    QStringLiteral("CAdaptorQuaternion.cpp"), QStringLiteral("CCellAndThreadData.cpp"),
    QStringLiteral("CFluentParticleData.cpp"), QStringLiteral("CParticleData.cpp") };

QStringList withoutAdaptorFiles(const QStringList &sources)
{
    QStringList kept;
    for (const QString &source : sources) {
        const bool isAdaptor = std::any_of(adaptorFileNames.cbegin(), adaptorFileNames.cend(),
            [&source](const QString &name) { return source.contains(name); });
        if (!isAdaptor)
            kept.append(source);
    }
    return kept;
}

QStringList nodeSourcesOf(const SolutionRequest &request)
{
    if (isSerialVariant(request.variant))
        return {};
    return request.coupling ? withoutAdaptorFiles(request.sources) : request.sources;
}

bool writeTopLevelCMakeLists(const SolutionRequest &request)
{
    CrlfTextFile file(request.buildRoot + "/CMakeLists.txt");
    if (!file.openForWriting())
        return false;
    QString text = QLatin1String("cmake_minimum_required(VERSION 3.23)\n"
                                 "project(FLUENTUDF)\n"
                                 "set_property(GLOBAL PROPERTY USE_FOLDERS ON)\n"
                                 "\n"
                                 "\n");
    text += QStringLiteral("add_subdirectory(%1)\n").arg(request.variant);
    if (!isSerialVariant(request.variant))
        text += QStringLiteral("add_subdirectory(%1)\n").arg(nodeVariantOf(request.variant));
    file.write(text);
    file.close();
    return true;
}

struct DirectoryMessages {
    const char *exists;
    const char *created;
    const char *failed;
};

const DirectoryMessages serialMessages { "Serial directory already exists",
    "Serial directory created successfully", "Failed to create Serial directory" };
const DirectoryMessages hostMessages { "Host directory already exists",
    "Host directory created successfully", "Failed to create host directory" };
const DirectoryMessages nodeMessages { "Note directory already exists",
    "Note directory created successfully", "Failed to create note directory" };

// A directory that cannot be made is only logged: the variant writer meets it itself.
void makeVariantDirectory(const QString &path, const DirectoryMessages &messages)
{
    QDir dir;
    if (dir.exists(path)) {
        qDebug() << messages.exists;
        return;
    }
    qDebug() << (dir.mkpath(path) ? messages.created : messages.failed);
}

void writeVariant(CKestrune &engine, const SolutionRequest &request, const QStringList &sources,
    const QString &variant)
{
    const QString directory = request.buildRoot + "/" + variant;
    if (request.coupling) {
        engine.writeCouplingVariantCMakeLists(request.headers, sources, variant, request.fluentPath,
            request.edemPath, request.vsPath, directory);
    } else {
        engine.writeUdfVariantCMakeLists(
            request.headers, sources, variant, request.fluentPath, request.vsPath, directory);
    }
}

void writeVariants(CKestrune &engine, const SolutionRequest &request)
{
    const QString &variant = request.variant;
    if (isSerialVariant(variant)) {
        makeVariantDirectory(request.buildRoot + "/" + variant, serialMessages);
        writeVariant(engine, request, request.sources, variant);
        return;
    }
    makeVariantDirectory(request.buildRoot + "/" + variant, hostMessages);
    writeVariant(engine, request, request.sources, variant);
    const QString node = nodeVariantOf(variant);
    makeVariantDirectory(request.buildRoot + "/" + node, nodeMessages);
    writeVariant(engine, request, nodeSourcesOf(request), node);
}

} // namespace

void CKestrune::recordBuild(const SolutionRequest &request)
{
    buildHeaders = request.headers;
    buildSources = request.sources;
    buildNodeSources = nodeSourcesOf(request);
    variant = request.variant;
    fluentPath = request.fluentPath;
    vsPath = request.vsPath;
    buildRoot = request.buildRoot;

    // Qt warns about empty path lists; an empty source list simply leaves nothing watched.
    const QStringList watched = fileWatcher->files();
    if (!watched.isEmpty())
        fileWatcher->removePaths(watched);
    if (!request.sources.isEmpty())
        fileWatcher->addPaths(request.sources);
}

// A variant whose compile failed keeps no udf_names.obj: the outdated one is removed first.
static QStringList variantsWithoutObject(const SolutionRequest &request)
{
    QStringList missing;
    for (const QString &name : variantsOfBuild(request.variant)) {
        if (!QFileInfo::exists(request.buildRoot + "/" + name + "/udf_names.obj"))
            missing.append(name);
    }
    return missing;
}

// The build goes through every step whatever an earlier one did, as the user expects a whole tree
// to look at; only a build whose every step worked counts as done.
bool CKestrune::buildSolution(const SolutionRequest &request)
{
    buildOutcome = BuildOutcome();
    recordBuild(request);
    if (!writeTopLevelCMakeLists(request))
        return false;
    buildOutcome.topLevelFileWritten = true;
    writeVariants(*this, request);
    buildOutcome.variantsWithoutObject = variantsWithoutObject(request);
    const CMakeRun cmake = runCMakeFor(request.buildRoot, request.vsPath);
    buildOutcome.cmakeProblem = cmake.problem;
    buildOutcome.cmakeVersion = cmake.version;
    cleanSolution(request.variant, request.buildRoot);
    buildOutcome.solutionPath = solutionFileOf(request.buildRoot);
    if (buildOutcome.solutionPath.isEmpty() && cmake.problem == BuildOutcome::CMakeProblem::None)
        buildOutcome.cmakeProblem = BuildOutcome::CMakeProblem::NoSolution;
    return buildOutcome.succeeded();
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
