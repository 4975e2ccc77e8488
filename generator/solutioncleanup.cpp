#include "solutioncleanup.h"

#include "buildtree.h"
#include "crlftextfile.h"
#include "kestrunelog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

// A file that cannot be read is left alone: writing back no lines would destroy it, and creating
// a missing one would leave an empty solution behind that passes for CMake's.
bool readLines(
    const QString &path, QByteArray &bytes, QStringList &lines, SolutionCleanup::Result &result)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcKestrune) << "Could not open file for reading:" << path;
        result.failures.append({ path, file.errorString() });
        return false;
    }
    bytes = file.readAll();
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    lines = text.split(QLatin1Char('\n'));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return true;
}

// A file whose bytes would not change is not written: a clean solution made read-only stays clean
// and is no failure.
void writeLines(const QString &path, const QByteArray &previous, const QStringList &lines,
    SolutionCleanup::Result &result)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    if (CrlfTextFile::encoded(text) == previous)
        return;
    CrlfTextFile file(path);
    if (file.openForWriting())
        file.write(text);
    if (!file.commit()) {
        qCDebug(lcKestrune) << "Could not open file for writing:" << path;
        result.failures.append(file.result());
        return;
    }
    result.rewrittenFiles.append(path);
}

// Drops each run of lines from one that starts a run through the next one that ends it; the
// line that starts a run is dropped even when it also ends it.
void filterLines(const QString &path, const std::function<bool(const QString &)> &startsRun,
    const std::function<bool(const QString &)> &endsRun, SolutionCleanup::Result &result)
{
    QByteArray bytes;
    QStringList lines;
    if (!readLines(path, bytes, lines, result))
        return;
    QStringList kept;
    bool skipping = false;
    for (const QString &line : lines) {
        if (startsRun(line))
            skipping = true;
        else if (!skipping)
            kept.append(line);
        if (skipping && endsRun(line))
            skipping = false;
    }
    writeLines(path, bytes, kept, result);
}

void removeFolder(const QString &path, SolutionCleanup::Result &result)
{
    QDir folder(path);
    if (!folder.exists()) {
        qCDebug(lcKestrune) << "Folder not found:" << path;
        return;
    }
    if (!folder.removeRecursively()) {
        result.failures.append({ path, QStringLiteral("The folder could not be removed whole") });
        return;
    }
    qCDebug(lcKestrune) << "Deleted folder:" << path;
    result.removedFolders.append(path);
}

enum class Logged { No, Yes };

void removeFile(const QString &path, SolutionCleanup::Result &result, Logged logged = Logged::No)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.remove()) {
        result.failures.append({ path, file.errorString() });
        return;
    }
    if (logged == Logged::Yes)
        qCDebug(lcKestrune) << "Deleted file:" << path;
    result.removedFiles.append(path);
}

void removeCMakeFilesInSolutionDirectory(
    const QString &solutionDirectory, SolutionCleanup::Result &result)
{
    const QStringList patterns { QStringLiteral("*.vcxproj"), QStringLiteral("*.filters"),
        QStringLiteral("*.cmake"), QStringLiteral("CMakeCache.txt") };
    const QFileInfoList files = QDir(solutionDirectory).entryInfoList(patterns, QDir::Files);
    for (const QFileInfo &info : files)
        removeFile(info.absoluteFilePath(), result, Logged::Yes);
}

// What CMake leaves in a variant's folder of the solution besides the variant's own project.
void removeVariantByProducts(
    const QString &buildRoot, const QString &variant, SolutionCleanup::Result &result)
{
    const QString solutionVariant = BuildTree::solutionVariantFolder(buildRoot, variant);
    removeFile(solutionVariant + "/ALL_BUILD.vcxproj", result);
    removeFile(solutionVariant + "/ALL_BUILD.vcxproj.filters", result);
    removeFile(solutionVariant + "/cmake_install.cmake", result);
}

// Visual Studio 2026's generator writes each solution as .slnx where older ones write .sln.
void removeCMakeProjects(const QString &solutionWithoutSuffix, SolutionCleanup::Result &result)
{
    const QString slnx = solutionWithoutSuffix + QLatin1String(".slnx");
    if (QFileInfo::exists(slnx))
        SolutionCleanup::cleanSlnx(slnx, result);
    else
        SolutionCleanup::cleanSln(solutionWithoutSuffix + QLatin1String(".sln"), result);
}

// A variant's own project in the solution folder: its solution and its .vcxproj.
void cleanVariantProject(
    const QString &buildRoot, const QString &variant, SolutionCleanup::Result &result)
{
    const QString project = BuildTree::solutionVariantProject(buildRoot, variant);
    removeCMakeProjects(project, result);
    SolutionCleanup::cleanVcxproj(project + ".vcxproj", result);
}

void removeCMakeInputs(
    const QString &variant, const QString &buildRoot, SolutionCleanup::Result &result)
{
    removeFile(BuildTree::topLevelCMakeLists(buildRoot), result);
    for (const QString &name : BuildTree::variantsOfBuild(variant))
        removeFile(BuildTree::variantCMakeLists(BuildTree::variantFolder(buildRoot, name)), result);
}

FileResult resultFor(const QString &path, const SolutionCleanup::Result &result)
{
    return result.failures.value(0, FileResult { path, QString() });
}

} // namespace

SolutionCleanup::Result SolutionCleanup::clean(const QString &variant, const QString &buildRoot)
{
    Result result;
    const QString solutionDirectory = BuildTree::solutionFolder(buildRoot);
    removeCMakeInputs(variant, buildRoot, result);
    removeFolder(solutionDirectory + "/CMakeFiles", result);
    removeFolder(BuildTree::solutionVariantFolder(buildRoot, variant) + "/CMakeFiles", result);
    removeCMakeFilesInSolutionDirectory(solutionDirectory, result);
    removeVariantByProducts(buildRoot, variant, result);

    if (BuildTree::isHostVariant(variant)) {
        const QString node = BuildTree::nodeVariantOf(variant);
        removeFolder(BuildTree::solutionVariantFolder(buildRoot, node) + "/CMakeFiles", result);
        removeVariantByProducts(buildRoot, node, result);
        cleanVariantProject(buildRoot, node, result);
    }

    removeCMakeProjects(BuildTree::solutionWithoutSuffix(buildRoot), result);
    cleanVariantProject(buildRoot, variant, result);
    return result;
}

SolutionCleanup::Result SolutionCleanup::discardCMakeOutput(
    const QString &variant, const QString &buildRoot)
{
    Result result;
    removeCMakeInputs(variant, buildRoot, result);
    const QString solutionDirectory = BuildTree::solutionFolder(buildRoot);
    if (QFileInfo::exists(solutionDirectory))
        removeFolder(solutionDirectory, result);
    return result;
}

void SolutionCleanup::cleanSln(const QString &slnPath, Result &result)
{
    const auto startsUtilityBlock = [](const QString &line) {
        return line.startsWith(QLatin1String("Project"))
            && (line.contains(QLatin1String("ALL_BUILD"))
                || line.contains(QLatin1String("ZERO_CHECK"))
                || line.contains(QLatin1String("CMakePredefinedTargets")));
    };
    const auto endsBlock
        = [](const QString &line) { return line.startsWith(QLatin1String("EndProject")); };
    filterLines(slnPath, startsUtilityBlock, endsBlock, result);
}

void SolutionCleanup::cleanVcxproj(const QString &vcxprojPath, Result &result)
{
    const auto startsCustomBuild
        = [](const QString &line) { return line.contains(QLatin1String("CustomBuild")); };
    const auto endsCustomBuild
        = [](const QString &line) { return line.contains(QLatin1String("/CustomBuild")); };
    filterLines(vcxprojPath, startsCustomBuild, endsCustomBuild, result);
}

FileResult SolutionCleanup::removeCMakeProjectsFromSln(const QString &slnPath)
{
    Result result;
    cleanSln(slnPath, result);
    return resultFor(slnPath, result);
}

FileResult SolutionCleanup::removeCMakeProjectsFromSlnx(const QString &slnxPath)
{
    Result result;
    cleanSlnx(slnxPath, result);
    return resultFor(slnxPath, result);
}

FileResult SolutionCleanup::removeCustomBuildFromVcxproj(const QString &vcxprojPath)
{
    Result result;
    cleanVcxproj(vcxprojPath, result);
    return resultFor(vcxprojPath, result);
}
