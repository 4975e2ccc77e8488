#include "slnxwriter.h"

#include "vsformat.h"

#include <QDir>

#include <algorithm>

namespace {

const QString cppProjectType = QStringLiteral("8bc9ceb8-8b4a-11d0-8d11-00a0c91bc942");
const QString predefinedFolder = QStringLiteral("/CMakePredefinedTargets/");

// One line of the file: two blanks of indentation per level.
QString line(int depth, const QString &content)
{
    return QString(depth * 2, QLatin1Char(' ')) + content + QLatin1Char('\n');
}

QString attribute(const QString &name, const QString &value)
{
    return QStringLiteral(" %1=\"%2\"").arg(name, xmlAttribute(value));
}

// The .slnx names projects by their path from the solution's folder, with "/".
QString projectPath(const Solution &solution, const VsTarget &target)
{
    return QDir(solution.directory)
        .relativeFilePath(target.binaryDir + QLatin1Char('/') + target.name + ".vcxproj");
}

QString dependencyPath(const Solution &solution, const QString &name)
{
    for (const VsTarget &target : solution.targets) {
        if (target.name == name)
            return projectPath(solution, target);
    }
    return name + QStringLiteral(".vcxproj");
}

// Children of a project: its dependencies, sorted by name, then what differs from the solution
// per configuration: ALL_BUILD is built on request only, as in a .sln.
QStringList projectChildren(const Solution &solution, const VsTarget &target)
{
    QStringList children;
    for (const QString &dependency : target.dependencies)
        children << "<BuildDependency" + attribute("Project", dependencyPath(solution, dependency))
                + "/>";
    if (target.kind == VsTarget::AllBuild) {
        for (const QString &config : configurations())
            children << "<Build" + attribute("Solution", config + "|*")
                    + attribute("Project", "false") + "/>";
    }
    return children;
}

QString projectElement(
    const Emulation &emulation, const Solution &solution, const VsTarget &target, int depth)
{
    QString start = "<Project" + attribute("Path", projectPath(solution, target))
        + attribute("Type", cppProjectType)
        + attribute("Id", emulation.guid(target.name).toLower());
    // The startup project is ALL_BUILD, the first of the solution's projects.
    if (&target == &solution.targets.first())
        start += attribute("DefaultStartup", "true");
    const QStringList children = projectChildren(solution, target);
    if (children.isEmpty())
        return line(depth, start + "/>");
    QString text = line(depth, start + ">");
    for (const QString &child : children)
        text += line(depth + 1, child);
    return text + line(depth, "</Project>");
}

QString configurationsElement(const Emulation &emulation)
{
    QString text = line(1, "<Configurations>");
    for (const QString &config : configurations())
        text += line(2, "<BuildType" + attribute("Name", config) + "/>");
    text += line(2, "<Platform" + attribute("Name", emulation.platform) + "/>");
    return text + line(1, "</Configurations>");
}

QList<const VsTarget *> sortedByName(const QList<const VsTarget *> &targets)
{
    QList<const VsTarget *> sorted = targets;
    std::sort(sorted.begin(), sorted.end(),
        [](const VsTarget *a, const VsTarget *b) { return lessBytewise(a->name, b->name); });
    return sorted;
}

} // namespace

QString slnxText(const Emulation &emulation, const Solution &solution)
{
    QList<const VsTarget *> topLevel;
    QList<const VsTarget *> predefined;
    for (const VsTarget &target : solution.targets) {
        const bool inFolder = emulation.model.useFolders && target.kind != VsTarget::Library;
        (inFolder ? predefined : topLevel) << &target;
    }
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Solution>\n");
    text += configurationsElement(emulation);
    for (const VsTarget *target : sortedByName(topLevel))
        text += projectElement(emulation, solution, *target, 1);
    if (!predefined.isEmpty()) {
        text += line(1, "<Folder" + attribute("Name", predefinedFolder) + ">");
        for (const VsTarget *target : sortedByName(predefined))
            text += projectElement(emulation, solution, *target, 2);
        text += line(1, "</Folder>");
    }
    return text + QStringLiteral("</Solution>\n");
}
