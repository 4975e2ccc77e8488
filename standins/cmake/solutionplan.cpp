#include "solutionplan.h"

#include "vsformat.h"

#include <QSet>

#include <algorithm>

QString Emulation::solutionFileName(const QString &project) const
{
    return project + (generator.slnx ? QStringLiteral(".slnx") : QStringLiteral(".sln"));
}

QString Emulation::topSolutionPath() const
{
    return model.binaryDir + QLatin1Char('/') + solutionFileName(model.projects.value(0).name);
}

QString Emulation::guid(const QString &name) const
{
    return vsGuid(model.binaryDir, name);
}

QString Emulation::stampFile(int directory) const
{
    return model.directories.at(directory).binaryDir + QStringLiteral("/CMakeFiles/generate.stamp");
}

QString Emulation::ruleFile() const
{
    const QString cmakeFiles = model.binaryDir + QStringLiteral("/CMakeFiles");
    return cmakeFiles + QLatin1Char('/') + md5Hex(cmakeFiles)
        + QStringLiteral("/generate.stamp.rule");
}

namespace {

bool inProject(const CodeModel &model, int project, int candidate)
{
    for (int p = candidate; p >= 0; p = model.projects.at(p).parent) {
        if (p == project)
            return true;
    }
    return false;
}

VsTarget zeroCheck(const CodeModel &model)
{
    VsTarget target;
    target.kind = VsTarget::ZeroCheck;
    target.name = QStringLiteral("ZERO_CHECK");
    target.binaryDir = model.binaryDir;
    target.directory = 0;
    return target;
}

// ALL_BUILD of a project builds every target of the project's directories, subprojects included.
VsTarget allBuild(const CodeModel &model, int project)
{
    VsTarget target;
    target.kind = VsTarget::AllBuild;
    target.name = QStringLiteral("ALL_BUILD");
    target.directory = model.projects.at(project).directories.value(0);
    target.binaryDir = model.directories.at(target.directory).binaryDir;
    for (const Target &library : model.targets) {
        if (inProject(model, project, model.directories.at(library.directory).project))
            target.dependencies << library.name;
    }
    target.dependencies << QStringLiteral("ZERO_CHECK");
    sortUniqueBytewise(target.dependencies);
    return target;
}

VsTarget library(const CodeModel &model, int index)
{
    const Target &source = model.targets.at(index);
    VsTarget target;
    target.name = source.name;
    target.target = index;
    target.directory = source.directory;
    target.binaryDir = model.directories.at(source.directory).binaryDir;
    target.dependencies = source.dependencies;
    target.dependencies << QStringLiteral("ZERO_CHECK");
    sortUniqueBytewise(target.dependencies);
    return target;
}

// A solution holds the targets of its project's directories, what they depend on, and the
// project's own ALL_BUILD.
Solution solutionFor(const Emulation &emulation, int project, const VsTarget &all)
{
    const CodeModel &model = emulation.model;
    Solution solution;
    solution.name = emulation.solutionFileName(model.projects.at(project).name);
    solution.directory = all.binaryDir;
    QSet<QString> wanted(all.dependencies.begin(), all.dependencies.end());
    for (bool grown = true; grown;) {
        grown = false;
        for (const VsTarget &target : emulation.targets) {
            if (target.kind == VsTarget::AllBuild || !wanted.contains(target.name))
                continue;
            for (const QString &dependency : target.dependencies) {
                if (!wanted.contains(dependency)) {
                    wanted.insert(dependency);
                    grown = true;
                }
            }
        }
    }
    for (const VsTarget &target : emulation.targets) {
        if (target.kind != VsTarget::AllBuild && wanted.contains(target.name))
            solution.targets << target;
    }
    std::sort(solution.targets.begin(), solution.targets.end(),
        [](const VsTarget &a, const VsTarget &b) { return lessBytewise(a.name, b.name); });
    solution.targets.prepend(all);
    return solution;
}

} // namespace

void planSolutions(Emulation &emulation)
{
    const CodeModel &model = emulation.model;
    emulation.targets.clear();
    emulation.solutions.clear();
    emulation.targets << zeroCheck(model);
    for (int i = 0; i < model.targets.size(); ++i)
        emulation.targets << library(model, i);
    QList<VsTarget> allBuilds;
    for (int p = 0; p < model.projects.size(); ++p)
        allBuilds << allBuild(model, p);
    for (int p = 0; p < model.projects.size(); ++p)
        emulation.solutions << solutionFor(emulation, p, allBuilds.at(p));
    emulation.targets << allBuilds;
}
