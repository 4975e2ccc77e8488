#include "buildtree.h"

#include "crlftextfile.h"
#include "slnwriter.h"
#include "slnxwriter.h"
#include "vcxprojwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

// CMake replaces a generated file only when its content changes, so that Visual Studio does not
// reload an unchanged project.
bool writeGenerated(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly)
        && existing.readAll() == text.toUtf8().replace("\n", "\r\n"))
        return true;
    existing.close();
    CrlfTextFile file(path);
    if (!file.openForWriting())
        return false;
    file.write(text);
    const bool flushed = file.flush();
    file.close();
    return flushed;
}

QString readMoved(const QString &path, const QString &scratch, const QString &binary)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).replace(scratch, binary);
}

QString cacheText(const Emulation &emulation, const QString &scratch)
{
    const QString text = readMoved(scratch + "/CMakeCache.txt", scratch, emulation.model.binaryDir);
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("CMAKE_PROJECT_INCLUDE:")))
            continue; // the stand-in's own probe
        if (line.startsWith(QLatin1String("CMAKE_GENERATOR:INTERNAL=")))
            lines << "CMAKE_GENERATOR:INTERNAL=" + emulation.generator.name;
        else
            lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

bool copyFolder(const QString &from, const QString &to)
{
    bool copied = true;
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        copied = QFile::copy(source, target) && copied;
    }
    return copied;
}

class TreeWriter {
public:
    TreeWriter(const Emulation &emulation, const QString &scratch, QStringList &failures)
        : emulation(emulation), scratch(scratch), failures(failures)
    {
    }

    void write(const QString &path, const QString &text)
    {
        if (!writeGenerated(path, text))
            failures << path;
    }

    void writeProjects();
    void writeStamps();
    void writeCMakeState();

private:
    const Emulation &emulation;
    const QString scratch;
    QStringList &failures;
};

void TreeWriter::writeProjects()
{
    for (const Solution &solution : emulation.solutions) {
        write(solution.directory + "/" + solution.name,
            emulation.generator.slnx ? slnxText(emulation, solution)
                                     : solutionText(emulation, solution));
    }
    for (const VsTarget &target : emulation.targets) {
        const QString base = target.binaryDir + "/" + target.name + ".vcxproj";
        write(base, projectText(emulation, target));
        write(base + ".filters", filtersText(emulation, target));
    }
}

void TreeWriter::writeStamps()
{
    QString list;
    for (int i = 0; i < emulation.model.directories.size(); ++i) {
        const QString stamp = emulation.stampFile(i);
        write(stamp, "# CMake generation timestamp file for this directory.\n");
        QString depend = "# CMake generation dependency list for this directory.\n";
        for (const QString &file : emulation.model.directories.at(i).listFiles)
            depend += file + "\n";
        write(stamp + ".depend", depend);
        list += stamp + "\n";
    }
    write(emulation.model.binaryDir + "/CMakeFiles/generate.stamp.list", list);
    write(emulation.ruleFile(), "# generated from CMake\n");
}

void TreeWriter::writeCMakeState()
{
    const QString binary = emulation.model.binaryDir;
    write(binary + "/CMakeCache.txt", cacheText(emulation, scratch));
    for (const Directory &directory : emulation.model.directories) {
        const QString relative = directory.binaryDir.mid(binary.size());
        write(directory.binaryDir + "/cmake_install.cmake",
            readMoved(scratch + relative + "/cmake_install.cmake", scratch, binary));
    }
    const QString version = "/CMakeFiles/" + emulation.model.cmakeVersion;
    if (!copyFolder(scratch + version, binary + version))
        failures << binary + version;
    write(binary + "/CMakeFiles/cmake.check_cache",
        readMoved(scratch + "/CMakeFiles/cmake.check_cache", scratch, binary));
}

} // namespace

bool writeBuildTree(const Emulation &emulation, const QString &scratchBuild, QStringList &failures)
{
    TreeWriter writer(emulation, scratchBuild, failures);
    writer.writeProjects();
    writer.writeStamps();
    writer.writeCMakeState();
    return failures.isEmpty();
}
