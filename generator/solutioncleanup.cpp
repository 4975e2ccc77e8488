#include "crlftextfile.h"
#include "kestrune.h"
#include "variants.h"

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
    const QString solutionVariant = buildRoot + "/solution/" + variant;
    QFile::remove(solutionVariant + "/ALL_BUILD.vcxproj");
    QFile::remove(solutionVariant + "/ALL_BUILD.vcxproj.filters");
    QFile::remove(solutionVariant + "/cmake_install.cmake");
}

} // namespace

void CKestrune::cleanSolution(const QString &variant, const QString &buildRoot)
{
    const QString solutionDirectory = buildRoot + "/solution";
    QFile::remove(buildRoot + "/CMakeLists.txt");
    QFile::remove(buildRoot + "/" + variant + "/CMakeLists.txt");
    removeFolder(solutionDirectory + "/CMakeFiles");
    removeFolder(solutionDirectory + "/" + variant + "/CMakeFiles");
    removeCMakeFilesInSolutionDirectory(solutionDirectory);
    removeVariantByProducts(buildRoot, variant);

    if (isHostVariant(variant)) {
        const QString node = nodeVariantOf(variant);
        const QString solutionNode = solutionDirectory + "/" + node;
        QFile::remove(buildRoot + "/" + node + "/CMakeLists.txt");
        removeFolder(solutionNode + "/CMakeFiles");
        removeVariantByProducts(buildRoot, node);
        removeCMakeProjects(solutionNode + "/" + node);
        removeCustomBuildFromVcxproj(solutionNode + "/" + node + ".vcxproj");
    }

    const QString solutionVariant = solutionDirectory + "/" + variant;
    removeCMakeProjects(solutionDirectory + "/FLUENTUDF");
    removeCMakeProjects(solutionVariant + "/" + variant);
    removeCustomBuildFromVcxproj(solutionVariant + "/" + variant + ".vcxproj");
}

// Visual Studio 2026's generator writes each solution as .slnx where older ones write .sln.
void CKestrune::removeCMakeProjects(const QString &solutionWithoutSuffix)
{
    const QString slnx = solutionWithoutSuffix + QLatin1String(".slnx");
    if (QFileInfo::exists(slnx))
        removeCMakeProjectsFromSlnx(slnx);
    else
        removeCMakeProjectsFromSln(solutionWithoutSuffix + QLatin1String(".sln"));
}

QString CKestrune::solutionFileOf(const QString &buildRoot)
{
    for (const char *name : { "/solution/FLUENTUDF.slnx", "/solution/FLUENTUDF.sln" }) {
        const QFileInfo solution(buildRoot + QLatin1String(name));
        if (solution.isFile() && solution.size() > 0)
            return solution.filePath();
    }
    return QString();
}

void CKestrune::removeCMakeProjectsFromSln(const QString &slnPath)
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

void CKestrune::removeCustomBuildFromVcxproj(const QString &vcxprojPath)
{
    const auto startsCustomBuild
        = [](const QString &line) { return line.contains(QLatin1String("CustomBuild")); };
    const auto endsCustomBuild
        = [](const QString &line) { return line.contains(QLatin1String("/CustomBuild")); };
    filterLines(vcxprojPath, startsCustomBuild, endsCustomBuild);
}
