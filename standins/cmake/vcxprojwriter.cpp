#include "vcxprojwriter.h"

#include "customrules.h"
#include "vsformat.h"
#include "xmlwriter.h"

#include <QFileInfo>

namespace {

const QString msbuildNamespace
    = QStringLiteral("http://schemas.microsoft.com/developer/msbuild/2003");

// What MSVC's default flags for a configuration turn into.
struct ConfigFlags {
    QString basicRuntimeChecks;
    QString debugInformationFormat;
    QString inlineFunctionExpansion;
    QString optimization;
    QString runtimeLibrary;
    bool debugInfo;
    bool ndebug;
};

ConfigFlags flagsFor(const QString &config)
{
    if (config == QLatin1String("Debug"))
        return { "EnableFastChecks", "ProgramDatabase", "Disabled", "Disabled",
            "MultiThreadedDebugDLL", true, false };
    if (config == QLatin1String("Release"))
        return { "Default", "", "AnySuitable", "MaxSpeed", "MultiThreadedDLL", false, true };
    if (config == QLatin1String("MinSizeRel"))
        return { "Default", "", "OnlyExplicitInline", "MinSpace", "MultiThreadedDLL", false, true };
    return { "Default", "ProgramDatabase", "OnlyExplicitInline", "MaxSpeed", "MultiThreadedDLL",
        true, true };
}

QString condition(const Emulation &emulation, const QString &config)
{
    return QStringLiteral("'$(Configuration)|$(Platform)'=='%1|%2'")
        .arg(config, emulation.platform);
}

QString joined(const QStringList &items, const QString &tail)
{
    QStringList all = items;
    all << tail;
    return all.join(QLatin1Char(';'));
}

QStringList backslashedAll(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths)
        result << backslashed(path);
    return result;
}

bool isHeader(const QString &path)
{
    static const QStringList extensions
        = { "h", "hh", "h++", "hm", "hpp", "hxx", "in", "txx", "inl" };
    return extensions.contains(QFileInfo(path).suffix().toLower());
}

QString toolFor(const SourceFile &source)
{
    if (!source.language.isEmpty())
        return QStringLiteral("ClCompile");
    return isHeader(source.path) ? QStringLiteral("ClInclude") : QStringLiteral("None");
}

bool hasCxx(const Target &target)
{
    for (const SourceFile &source : target.sources) {
        if (source.language == QLatin1String("CXX"))
            return true;
    }
    return false;
}

void writeProjectConfigurations(XmlWriter &xml, const Emulation &emulation)
{
    xml.start("ItemGroup");
    xml.attribute("Label", "ProjectConfigurations");
    for (const QString &config : configurations()) {
        xml.start("ProjectConfiguration");
        xml.attribute("Include", config + QLatin1Char('|') + emulation.platform);
        xml.element("Configuration", config);
        xml.element("Platform", emulation.platform);
        xml.end();
    }
    xml.end();
}

void writeGlobals(XmlWriter &xml, const Emulation &emulation, const VsTarget &target)
{
    xml.start("PropertyGroup");
    xml.attribute("Label", "Globals");
    xml.element("ProjectGuid", QLatin1Char('{') + emulation.guid(target.name) + QLatin1Char('}'));
    xml.element("Keyword", "Win32Proj");
    // Machine-dependent on Windows (the newest SDK found); a fixed one here.
    xml.element("WindowsTargetPlatformVersion", "10.0.19041.0");
    xml.element("Platform", emulation.platform);
    xml.element("ProjectName", target.name);
    xml.element("VCProjectUpgraderObjectName", "NoUpgrade");
    xml.end();
}

void writeImport(XmlWriter &xml, const QString &project)
{
    xml.start("Import");
    xml.attribute("Project", project);
    xml.end();
}

void writeConfigurationGroups(XmlWriter &xml, const Emulation &emulation, const VsTarget &target)
{
    const QString type = target.kind == VsTarget::Library ? "DynamicLibrary" : "Utility";
    for (const QString &config : configurations()) {
        xml.start("PropertyGroup");
        xml.attribute("Condition", condition(emulation, config));
        xml.attribute("Label", "Configuration");
        xml.element("ConfigurationType", type);
        xml.element("CharacterSet", "MultiByte");
        xml.element("PlatformToolset", emulation.generator.platformToolset);
        xml.end();
    }
}

void writePropertySheets(XmlWriter &xml)
{
    xml.start("ImportGroup");
    xml.attribute("Label", "ExtensionSettings");
    xml.keepOpen();
    xml.end();
    xml.start("ImportGroup");
    xml.attribute("Label", "PropertySheets");
    const QString userProps = "$(UserRootDir)\\Microsoft.Cpp.$(Platform).user.props";
    xml.start("Import");
    xml.attribute("Project", userProps);
    xml.attribute("Condition", "exists('" + userProps + "')");
    xml.attribute("Label", "LocalAppDataPlatform");
    xml.end();
    xml.end();
    xml.start("PropertyGroup");
    xml.attribute("Label", "UserMacros");
    xml.end();
}

void writeHead(XmlWriter &xml, const Emulation &emulation, const VsTarget &target)
{
    xml.start("Project");
    xml.attribute("DefaultTargets", "Build");
    xml.attribute("ToolsVersion", emulation.generator.toolsVersion);
    xml.attribute("xmlns", msbuildNamespace);
    if (emulation.generator.preferredToolArchitecture) {
        xml.start("PropertyGroup");
        xml.element("PreferredToolArchitecture", "x64");
        xml.end();
    }
    if (target.kind != VsTarget::Library) {
        xml.start("PropertyGroup");
        xml.element("ResolveNugetPackages", "false");
        xml.end();
    }
    writeProjectConfigurations(xml, emulation);
    writeGlobals(xml, emulation, target);
    writeImport(xml, "$(VCTargetsPath)\\Microsoft.Cpp.Default.props");
    writeConfigurationGroups(xml, emulation, target);
    writeImport(xml, "$(VCTargetsPath)\\Microsoft.Cpp.props");
    writePropertySheets(xml);
}

void writeLibraryPaths(XmlWriter &xml, const Emulation &emulation, const Target &target)
{
    xml.start("PropertyGroup");
    xml.element("_ProjectFileVersion", "10.0.20506.1");
    for (const QString &config : configurations()) {
        const QString when = condition(emulation, config);
        const bool debugInfo = flagsFor(config).debugInfo;
        xml.conditionElement("OutDir", when, backslashed(target.runtimeDir.value(config)) + "\\");
        xml.conditionElement("IntDir", when, target.name + ".dir\\" + config + "\\");
        xml.conditionElement("TargetName", when, target.outputName.value(config));
        xml.conditionElement("TargetExt", when, ".dll");
        xml.conditionElement("LinkIncremental", when, debugInfo ? "true" : "false");
        xml.conditionElement("GenerateManifest", when, "true");
    }
    xml.end();
    xml.start("PropertyGroup");
    xml.end();
}

void writeUtilityPaths(XmlWriter &xml, const Emulation &emulation)
{
    xml.start("PropertyGroup");
    xml.element("_ProjectFileVersion", "10.0.20506.1");
    for (const QString &config : configurations())
        xml.conditionElement("IntDir", condition(emulation, config),
            "$(Platform)\\$(Configuration)\\$(ProjectName)\\");
    xml.end();
}

void writeMidl(XmlWriter &xml, const QStringList &includes)
{
    xml.start("Midl");
    xml.element("AdditionalIncludeDirectories",
        joined(backslashedAll(includes), "%(AdditionalIncludeDirectories)"));
    xml.element("OutputDirectory", "$(ProjectDir)/$(IntDir)");
    xml.element("HeaderFileName", "%(Filename).h");
    xml.element("TypeLibraryName", "%(Filename).tlb");
    xml.element("InterfaceIdentifierFileName", "%(Filename)_i.c");
    xml.element("ProxyFileName", "%(Filename)_p.c");
    xml.end();
}

QString compileDefinitions(const Target &target, const QString &config)
{
    QStringList defines { "%(PreprocessorDefinitions)", "WIN32", "_WINDOWS" };
    if (flagsFor(config).ndebug)
        defines << "NDEBUG";
    defines << "CMAKE_INTDIR=\"" + config + "\"" << exportMacro(target.name) << target.defines;
    return defines.join(QLatin1Char(';'));
}

QString resourceDefinitions(const Target &target, const QString &config)
{
    QStringList defines { "%(PreprocessorDefinitions)", "WIN32" };
    if (config == QLatin1String("Debug"))
        defines << "_DEBUG";
    defines << "_WINDOWS";
    if (flagsFor(config).ndebug)
        defines << "NDEBUG";
    defines << "CMAKE_INTDIR=\\\"" + config + "\\\"" << exportMacro(target.name);
    for (QString define : target.defines)
        defines << define.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return defines.join(QLatin1Char(';'));
}

void writeClCompile(XmlWriter &xml, const Target &target, const QString &config)
{
    const ConfigFlags flags = flagsFor(config);
    const bool cxx = hasCxx(target);
    xml.start("ClCompile");
    xml.element("AdditionalIncludeDirectories",
        joined(backslashedAll(target.includes), "%(AdditionalIncludeDirectories)"));
    xml.element("AssemblerListingLocation", "$(IntDir)");
    xml.element("BasicRuntimeChecks", flags.basicRuntimeChecks);
    if (!flags.debugInformationFormat.isEmpty())
        xml.element("DebugInformationFormat", flags.debugInformationFormat);
    if (cxx)
        xml.element("ExceptionHandling", "Sync");
    else
        xml.emptyPair("ExceptionHandling");
    xml.element("InlineFunctionExpansion", flags.inlineFunctionExpansion);
    xml.element("MinimalRebuild", "");
    xml.element("Optimization", flags.optimization);
    xml.element("PrecompiledHeader", "NotUsing");
    xml.element("RuntimeLibrary", flags.runtimeLibrary);
    if (cxx)
        xml.element("RuntimeTypeInfo", "true");
    xml.element("SupportJustMyCode", "");
    xml.element("UseFullPaths", "false");
    xml.element("PreprocessorDefinitions", compileDefinitions(target, config));
    xml.element("ObjectFileName", "$(IntDir)");
    if (flags.debugInformationFormat.isEmpty())
        xml.emptyPair("DebugInformationFormat");
    xml.element("ScanSourceForModuleDependencies", "false");
    xml.end();
}

void writeResourceCompile(XmlWriter &xml, const Target &target, const QString &config)
{
    xml.start("ResourceCompile");
    xml.element("PreprocessorDefinitions", resourceDefinitions(target, config));
    if (!target.includes.isEmpty())
        xml.element("AdditionalIncludeDirectories",
            joined(backslashedAll(target.includes), "%(AdditionalIncludeDirectories)"));
    xml.end();
}

void writeLink(
    XmlWriter &xml, const Emulation &emulation, const Target &target, const QString &config)
{
    static const QStringList standardLibraries
        = { "kernel32.lib", "user32.lib", "gdi32.lib", "winspool.lib", "shell32.lib", "ole32.lib",
              "oleaut32.lib", "uuid.lib", "comdlg32.lib", "advapi32.lib" };
    QStringList dependencies;
    for (const QString &item : target.linkItems)
        dependencies << (QFileInfo(item).isAbsolute() ? backslashed(item) : item);
    dependencies << standardLibraries;
    QStringList libraryDirs;
    for (const QString &dir : target.libraryDirs)
        libraryDirs << dir << dir + "/$(Configuration)";
    const QString machine
        = emulation.platform == QLatin1String("Win32") ? "X86" : emulation.platform;
    const QString name = target.outputName.value(config);
    xml.start("Link");
    xml.element("AdditionalDependencies", dependencies.join(QLatin1Char(';')));
    xml.element(
        "AdditionalLibraryDirectories", joined(libraryDirs, "%(AdditionalLibraryDirectories)"));
    xml.element("AdditionalOptions", "%(AdditionalOptions) /machine:" + machine);
    xml.element("GenerateDebugInformation", flagsFor(config).debugInfo ? "true" : "false");
    xml.element("IgnoreSpecificDefaultLibraries", "%(IgnoreSpecificDefaultLibraries)");
    xml.element("ImportLibrary", target.archiveDir.value(config) + "/" + name + ".lib");
    xml.element("ProgramDataBaseFile", target.runtimeDir.value(config) + "/" + name + ".pdb");
    xml.element("SubSystem", "Console");
    xml.end();
}

void writeLibraryDefinitions(XmlWriter &xml, const Emulation &emulation, const Target &target)
{
    for (const QString &config : configurations()) {
        xml.start("ItemDefinitionGroup");
        xml.attribute("Condition", condition(emulation, config));
        writeClCompile(xml, target, config);
        writeResourceCompile(xml, target, config);
        writeMidl(xml, target.includes);
        writeLink(xml, emulation, target, config);
        xml.start("ProjectReference");
        xml.element("LinkLibraryDependencies", "false");
        xml.end();
        xml.end();
    }
}

void writeUtilityDefinitions(
    XmlWriter &xml, const Emulation &emulation, const QStringList &includes)
{
    for (const QString &config : configurations()) {
        xml.start("ItemDefinitionGroup");
        xml.attribute("Condition", condition(emulation, config));
        writeMidl(xml, includes);
        xml.end();
    }
}

void writeCustomRule(XmlWriter &xml, const Emulation &emulation, const CustomRule &rule)
{
    xml.start("ItemGroup");
    xml.start("CustomBuild");
    xml.attribute("Include", backslashed(rule.source));
    if (emulation.generator.utf8Encoding)
        xml.element("UseUtf8Encoding", "Always");
    const QString inputs = joined(backslashedAll(rule.inputs), "%(AdditionalInputs)");
    const QString outputs = backslashedAll(rule.outputs).join(QLatin1Char(';'));
    for (const QString &config : configurations()) {
        const QString when = condition(emulation, config);
        xml.conditionElement("Message", when, rule.message);
        xml.conditionElement("Command", when, rule.command);
        xml.conditionElement("AdditionalInputs", when, inputs);
        xml.conditionElement("Outputs", when, outputs);
        xml.conditionElement("LinkObjects", when, "false");
    }
    xml.end();
    xml.end();
}

// A C file in a target linked as C++ is forced to C, as the generator does.
void writeSources(XmlWriter &xml, const Emulation &emulation, const Target *target)
{
    xml.start("ItemGroup");
    xml.keepOpen();
    const bool linkedAsCxx = target && target->linkLanguage == QLatin1String("CXX");
    for (const SourceFile &source : target ? target->sources : QList<SourceFile>()) {
        xml.start(toolFor(source));
        xml.attribute("Include", backslashed(source.path));
        if (linkedAsCxx && source.language == QLatin1String("C")) {
            for (const QString &config : configurations())
                xml.conditionElement("CompileAs", condition(emulation, config), "CompileAsC");
        }
        xml.end();
    }
    xml.end();
}

const VsTarget *findTarget(const Emulation &emulation, const QString &name)
{
    for (const VsTarget &target : emulation.targets) {
        if (target.kind != VsTarget::AllBuild && target.name == name)
            return &target;
    }
    return nullptr;
}

void writeProjectReferences(XmlWriter &xml, const Emulation &emulation, const VsTarget &target)
{
    QStringList names = target.dependencies;
    if (names.removeAll(QStringLiteral("ZERO_CHECK")) > 0)
        names.prepend(QStringLiteral("ZERO_CHECK"));
    xml.start("ItemGroup");
    xml.keepOpen();
    for (const QString &name : names) {
        const VsTarget *dependency = findTarget(emulation, name);
        if (!dependency)
            continue;
        xml.start("ProjectReference");
        xml.attribute("Include", backslashed(dependency->binaryDir + "/" + name + ".vcxproj"));
        xml.element("Project", "{" + emulation.guid(name) + "}");
        xml.element("Name", name);
        if (dependency->kind != VsTarget::Library) {
            xml.element("ReferenceOutputAssembly", "false");
            xml.element("CopyToOutputDirectory", "Never");
        }
        xml.end();
    }
    xml.end();
}

CustomRule ruleOf(const Emulation &emulation, const VsTarget &target)
{
    if (target.kind == VsTarget::ZeroCheck)
        return zeroCheckRule(emulation);
    return listFileRule(emulation, target.directory);
}

} // namespace

QString projectText(const Emulation &emulation, const VsTarget &target)
{
    XmlWriter xml;
    writeHead(xml, emulation, target);
    const Target *library
        = target.kind == VsTarget::Library ? &emulation.model.targets.at(target.target) : nullptr;
    if (library) {
        writeLibraryPaths(xml, emulation, *library);
        writeLibraryDefinitions(xml, emulation, *library);
    } else {
        writeUtilityPaths(xml, emulation);
        writeUtilityDefinitions(
            xml, emulation, emulation.model.directories.at(target.directory).includes);
    }
    writeCustomRule(xml, emulation, ruleOf(emulation, target));
    writeSources(xml, emulation, library);
    xml.start("ItemGroup");
    xml.end();
    writeProjectReferences(xml, emulation, target);
    writeImport(xml, "$(VCTargetsPath)\\Microsoft.Cpp.targets");
    xml.start("ImportGroup");
    xml.attribute("Label", "ExtensionTargets");
    xml.keepOpen();
    xml.end();
    xml.end();
    return xml.text();
}

QString filtersText(const Emulation &emulation, const VsTarget &target)
{
    // Tools in name order, each with its items in source order.
    QMap<QString, QList<QPair<QString, QString>>> tools;
    if (target.kind == VsTarget::Library) {
        for (const SourceFile &source : emulation.model.targets.at(target.target).sources)
            tools[toolFor(source)] << qMakePair(source.path, source.group);
    }
    const CustomRule rule = ruleOf(emulation, target);
    tools[QStringLiteral("CustomBuild")] << qMakePair(rule.source, rule.group);
    QStringList groups;
    XmlWriter xml;
    xml.start("Project");
    xml.attribute("ToolsVersion", emulation.generator.toolsVersion);
    xml.attribute("xmlns", msbuildNamespace);
    for (auto tool = tools.cbegin(); tool != tools.cend(); ++tool) {
        xml.start("ItemGroup");
        for (const auto &item : tool.value()) {
            xml.start(tool.key());
            xml.attribute("Include", backslashed(item.first));
            if (!item.second.isEmpty()) {
                xml.element("Filter", item.second);
                groups << item.second;
            }
            xml.end();
        }
        xml.end();
    }
    sortUniqueBytewise(groups);
    xml.start("ItemGroup");
    xml.keepOpen();
    for (const QString &group : groups) {
        xml.start("Filter");
        xml.attribute("Include", group);
        xml.element("UniqueIdentifier", "{" + emulation.guid("SG_Filter_" + group) + "}");
        xml.end();
    }
    xml.end();
    xml.end();
    return xml.text() + QLatin1Char('\n');
}
