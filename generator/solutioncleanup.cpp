#include "solutioncleanup.h"

#include "buildtree.h"
#include "crlftextfile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

// A file that cannot be read is left alone: writing back no lines would destroy it, and creating
// a missing one would leave an empty solution behind that passes for CMake's.
bool readLines(const QString &path, QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Could not open file for reading:" << path;
        return false;
    }
    QString text = QString::fromUtf8(file.readAll());
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

void writeLines(const QString &path, const QStringList &lines)
{
    CrlfTextFile file(path);
    if (!file.openForWriting()) {
        qDebug() << "Could not open file for writing:" << path;
        return;
    }
    for (const QString &line : lines)
        file.writeLine(line);
    file.close();
}

// Drops each run of lines from one that starts a run through the next one that ends it; the
// line that starts a run is dropped even when it also ends it.
void filterLines(const QString &path, const std::function<bool(const QString &)> &startsRun,
    const std::function<bool(const QString &)> &endsRun)
{
    QStringList lines;
    if (!readLines(path, lines))
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
    writeLines(path, kept);
}

void removeFolder(const QString &path)
{
    QDir folder(path);
    if (!folder.exists()) {
        qDebug() << "Folder not found:" << path;
        return;
    }
    folder.removeRecursively();
    qDebug() << "Deleted folder:" << path;
}

void removeCMakeFilesInSolutionDirectory(const QString &solutionDirectory)
{
    const QStringList patterns { QStringLiteral("*.vcxproj"), QStringLiteral("*.filters"),
        QStringLiteral("*.cmake"), QStringLiteral("CMakeCache.txt") };
    const QFileInfoList files = QDir(solutionDirectory).entryInfoList(patterns, QDir::Files);
    for (const QFileInfo &info : files) {
        QFile::remove(info.absoluteFilePath());
        qDebug() << "Deleted file:" << info.absoluteFilePath();
    }
}

// What CMake leaves in a variant's folder of the solution besides the variant's own project.
void removeVariantByProducts(const QString &buildRoot, const QString &variant)
{
    const QString solutionVariant = BuildTree::solutionVariantFolder(buildRoot, variant);
    QFile::remove(solutionVariant + "/ALL_BUILD.vcxproj");
    QFile::remove(solutionVariant + "/ALL_BUILD.vcxproj.filters");
    QFile::remove(solutionVariant + "/cmake_install.cmake");
}

// Visual Studio 2026's generator writes each solution as .slnx where older ones write .sln.
void removeCMakeProjects(const QString &solutionWithoutSuffix)
{
    const QString slnx = solutionWithoutSuffix + QLatin1String(".slnx");
    if (QFileInfo::exists(slnx))
        SolutionCleanup::removeCMakeProjectsFromSlnx(slnx);
    else
        SolutionCleanup::removeCMakeProjectsFromSln(solutionWithoutSuffix + QLatin1String(".sln"));
}

// A variant's own project in the solution folder: its solution and its .vcxproj.
void cleanVariantProject(const QString &buildRoot, const QString &variant)
{
    const QString project = BuildTree::solutionVariantProject(buildRoot, variant);
    removeCMakeProjects(project);
    SolutionCleanup::removeCustomBuildFromVcxproj(project + ".vcxproj");
}

} // namespace

void SolutionCleanup::clean(const QString &variant, const QString &buildRoot)
{
    const QString solutionDirectory = BuildTree::solutionFolder(buildRoot);
    QFile::remove(BuildTree::topLevelCMakeLists(buildRoot));
    QFile::remove(BuildTree::variantCMakeLists(BuildTree::variantFolder(buildRoot, variant)));
    removeFolder(solutionDirectory + "/CMakeFiles");
    removeFolder(BuildTree::solutionVariantFolder(buildRoot, variant) + "/CMakeFiles");
    removeCMakeFilesInSolutionDirectory(solutionDirectory);
    removeVariantByProducts(buildRoot, variant);

    if (BuildTree::isHostVariant(variant)) {
        const QString node = BuildTree::nodeVariantOf(variant);
        QFile::remove(BuildTree::variantCMakeLists(BuildTree::variantFolder(buildRoot, node)));
        removeFolder(BuildTree::solutionVariantFolder(buildRoot, node) + "/CMakeFiles");
        removeVariantByProducts(buildRoot, node);
        cleanVariantProject(buildRoot, node);
    }

    removeCMakeProjects(BuildTree::solutionWithoutSuffix(buildRoot));
    cleanVariantProject(buildRoot, variant);
}

void SolutionCleanup::removeCMakeProjectsFromSln(const QString &slnPath)
{
    const auto startsUtilityBlock = [](const QString &line) {
        return line.startsWith(QLatin1String("Project"))
            && (line.contains(QLatin1String("ALL_BUILD"))
                || line.contains(QLatin1String("ZERO_CHECK"))
                || line.contains(QLatin1String("CMakePredefinedTargets")));
    };
    const auto endsBlock
        = [](const QString &line) { return line.startsWith(QLatin1String("EndProject")); };
    filterLines(slnPath, startsUtilityBlock, endsBlock);
}

void SolutionCleanup::removeCustomBuildFromVcxproj(const QString &vcxprojPath)
{
    const auto startsCustomBuild
        = [](const QString &line) { return line.contains(QLatin1String("CustomBuild")); };
    const auto endsCustomBuild
        = [](const QString &line) { return line.contains(QLatin1String("/CustomBuild")); };
    filterLines(vcxprojPath, startsCustomBuild, endsCustomBuild);
}
