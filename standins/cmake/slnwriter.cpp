#include "slnwriter.h"

#include "vsformat.h"

namespace {

const QString cppProjectType = QStringLiteral("8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942");
const QString folderProjectType = QStringLiteral("2150E333-8FDC-42A3-9474-1A3956D46DE8");
const QString predefinedFolder = QStringLiteral("CMakePredefinedTargets");

bool inPredefinedFolder(const Emulation &emulation, const VsTarget &target)
{
    return emulation.model.useFolders && target.kind != VsTarget::Library;
}

QString projectBlocks(const Emulation &emulation, const Solution &solution)
{
    QString text;
    if (emulation.model.useFolders) {
        text += QStringLiteral("Project(\"{%1}\") = \"%2\", \"%2\", \"{%3}\"\nEndProject\n")
                    .arg(folderProjectType, predefinedFolder,
                        emulation.guid("CMAKE_FOLDER_GUID_" + predefinedFolder));
    }
    for (const VsTarget &target : solution.targets) {
        const QString path = solutionRelativeFolder(solution.directory, target.binaryDir)
            + target.name + QStringLiteral(".vcxproj");
        text += QStringLiteral("Project(\"{%1}\") = \"%2\", \"%3\", \"{%4}\"\n")
                    .arg(cppProjectType, target.name, path, emulation.guid(target.name));
        text += QStringLiteral("\tProjectSection(ProjectDependencies) = postProject\n");
        for (const QString &dependency : target.dependencies) {
            const QString guid = emulation.guid(dependency);
            text += QStringLiteral("\t\t{%1} = {%1}\n").arg(guid);
        }
        text += QStringLiteral("\tEndProjectSection\nEndProject\n");
    }
    return text;
}

QString configurationSections(const Emulation &emulation, const Solution &solution)
{
    const QString platform = emulation.platform;
    QString text
        = QStringLiteral("\tGlobalSection(SolutionConfigurationPlatforms) = preSolution\n");
    for (const QString &config : configurations())
        text += QStringLiteral("\t\t%1|%2 = %1|%2\n").arg(config, platform);
    text += QStringLiteral("\tEndGlobalSection\n");
    text += QStringLiteral("\tGlobalSection(ProjectConfigurationPlatforms) = postSolution\n");
    for (const VsTarget &target : solution.targets) {
        const QString guid = emulation.guid(target.name);
        for (const QString &config : configurations()) {
            text
                += QStringLiteral("\t\t{%1}.%2|%3.ActiveCfg = %2|%3\n").arg(guid, config, platform);
            // ALL_BUILD is built on request only; ZERO_CHECK because every project needs it.
            if (target.kind != VsTarget::AllBuild)
                text += QStringLiteral("\t\t{%1}.%2|%3.Build.0 = %2|%3\n")
                            .arg(guid, config, platform);
        }
    }
    text += QStringLiteral("\tEndGlobalSection\n");
    return text;
}

QString nestedProjects(const Emulation &emulation, const Solution &solution)
{
    if (!emulation.model.useFolders)
        return QString();
    const QString folder = emulation.guid("CMAKE_FOLDER_GUID_" + predefinedFolder);
    QString text = QStringLiteral("\tGlobalSection(NestedProjects) = preSolution\n");
    for (const VsTarget &target : solution.targets) {
        if (inPredefinedFolder(emulation, target))
            text += QStringLiteral("\t\t{%1} = {%2}\n").arg(emulation.guid(target.name), folder);
    }
    return text + QStringLiteral("\tEndGlobalSection\n");
}

} // namespace

QString solutionText(const Emulation &emulation, const Solution &solution)
{
    QString text = QChar(0xFEFF) + QStringLiteral("\n");
    text += QStringLiteral("Microsoft Visual Studio Solution File, Format Version 12.00\n");
    text += emulation.generator.slnVersionLine + QLatin1Char('\n');
    text += projectBlocks(emulation, solution);
    text += QStringLiteral("Global\n");
    text += configurationSections(emulation, solution);
    text += nestedProjects(emulation, solution);
    text += QStringLiteral("\tGlobalSection(ExtensibilityGlobals) = postSolution\n");
    text += QStringLiteral("\t\tSolutionGuid = {%1}\n").arg(emulation.guid(solution.name));
    text += QStringLiteral("\tEndGlobalSection\n");
    text += QStringLiteral("\tGlobalSection(ExtensibilityAddIns) = postSolution\n");
    text += QStringLiteral("\tEndGlobalSection\n");
    text += QStringLiteral("EndGlobal\n");
    return text;
}
