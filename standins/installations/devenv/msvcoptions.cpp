#include "msvcoptions.h"

#include "msbuildtext.h"

#include <QList>
#include <QPair>

namespace {

using Choices = QHash<QString, QString>;

// MSBuild's values of the enumerated ClCompile settings and the switches they stand for, in the
// order the switches are passed.
const QList<QPair<QString, Choices>> &enumeratedSettings()
{
    static const QList<QPair<QString, Choices>> settings {
        { "RuntimeLibrary",
            { { "MultiThreaded", "/MT" }, { "MultiThreadedDebug", "/MTd" },
                { "MultiThreadedDLL", "/MD" }, { "MultiThreadedDebugDLL", "/MDd" } } },
        { "Optimization",
            { { "Disabled", "/Od" }, { "MinSpace", "/O1" }, { "MaxSpeed", "/O2" },
                { "Full", "/Ox" } } },
        { "InlineFunctionExpansion",
            { { "Disabled", "/Ob0" }, { "OnlyExplicitInline", "/Ob1" },
                { "AnySuitable", "/Ob2" } } },
        { "DebugInformationFormat",
            { { "OldStyle", "/Z7" }, { "ProgramDatabase", "/Zi" }, { "EditAndContinue", "/Zi" } } },
        { "BasicRuntimeChecks",
            { { "StackFrameRuntimeCheck", "/RTCs" }, { "UninitializedLocalUsageCheck", "/RTCu" },
                { "EnableFastChecks", "/RTC1" } } },
        { "ExceptionHandling",
            { { "Sync", "/EHsc" }, { "Async", "/EHa" }, { "SyncCThrow", "/EHs" } } },
        { "RuntimeTypeInfo", { { "true", "/GR" }, { "false", "/GR-" } } },
        { "WarningLevel",
            { { "TurnOffAllWarnings", "/W0" }, { "Level1", "/W1" }, { "Level2", "/W2" },
                { "Level3", "/W3" }, { "Level4", "/W4" }, { "EnableAllWarnings", "/Wall" } } },
        { "TreatWarningAsError", { { "true", "/WX" } } },
        { "BufferSecurityCheck", { { "true", "/GS" }, { "false", "/GS-" } } },
        { "FunctionLevelLinking", { { "true", "/Gy" } } },
        { "IntrinsicFunctions", { { "true", "/Oi" } } },
        { "LanguageStandard",
            { { "stdcpp14", "/std:c++14" }, { "stdcpp17", "/std:c++17" },
                { "stdcpp20", "/std:c++20" }, { "stdcpplatest", "/std:c++latest" } } },
        { "LanguageStandard_C", { { "stdc11", "/std:c11" }, { "stdc17", "/std:c17" } } },
    };
    return settings;
}

// Defaults of Visual Studio's property sheets that CMake's projects leave as they are.
const Settings &defaults()
{
    static const Settings values { { "WarningLevel", "Level1" },
        { "BufferSecurityCheck", "true" } };
    return values;
}

void addListOption(QStringList &options, const QString &prefix, const QString &value)
{
    for (const QString &item : msbuildList(value))
        options << prefix + item;
}

void addPathListOption(QStringList &options, const QString &prefix, const QString &value)
{
    for (const QString &item : msbuildList(value))
        options << prefix + hostPath(item);
}

} // namespace

bool compilerOptions(
    const Settings &clCompile, const QString &compileAs, QStringList &options, QString &error)
{
    const QString precompiled = clCompile.value(QStringLiteral("PrecompiledHeader"));
    if (!precompiled.isEmpty() && precompiled != QLatin1String("NotUsing")) {
        error = QStringLiteral("precompiled headers (%1) are beyond the stand-in").arg(precompiled);
        return false;
    }
    options << QStringLiteral("/nologo") << QStringLiteral("/c") << QStringLiteral("/fp:precise")
            << QStringLiteral("/Zc:wchar_t") << QStringLiteral("/Zc:forScope")
            << QStringLiteral("/Zc:inline");
    const auto &table = enumeratedSettings();
    for (const auto &setting : table) {
        const QString value = clCompile.value(setting.first, defaults().value(setting.first));
        if (setting.second.contains(value))
            options << setting.second.value(value);
    }
    addPathListOption(
        options, QStringLiteral("/I"), clCompile.value("AdditionalIncludeDirectories"));
    addListOption(options, QStringLiteral("/D"), clCompile.value("PreprocessorDefinitions"));
    addListOption(
        options, QStringLiteral("/U"), clCompile.value("UndefinePreprocessorDefinitions"));
    addPathListOption(options, QStringLiteral("/FI"), clCompile.value("ForcedIncludeFiles"));
    addListOption(options, QStringLiteral("/wd"), clCompile.value("DisableSpecificWarnings"));
    options << optionList(clCompile.value(QStringLiteral("AdditionalOptions")));
    const QString language = compileAs.isEmpty() ? clCompile.value("CompileAs") : compileAs;
    if (language == QLatin1String("CompileAsC"))
        options << QStringLiteral("/TC");
    else if (language == QLatin1String("CompileAsCpp"))
        options << QStringLiteral("/TP");
    return true;
}

QStringList linkerOptions(const Settings &link)
{
    QStringList options { QStringLiteral("/NOLOGO") };
    if (link.value(QStringLiteral("GenerateDebugInformation")).toLower() == QLatin1String("true"))
        options << QStringLiteral("/DEBUG");
    const QString subsystem = link.value(QStringLiteral("SubSystem"));
    if (subsystem == QLatin1String("Console"))
        options << QStringLiteral("/SUBSYSTEM:CONSOLE");
    else if (subsystem == QLatin1String("Windows"))
        options << QStringLiteral("/SUBSYSTEM:WINDOWS");
    if (link.value(QStringLiteral("IgnoreAllDefaultLibraries")).toLower() == QLatin1String("true"))
        options << QStringLiteral("/NODEFAULTLIB");
    addListOption(options, QStringLiteral("/NODEFAULTLIB:"),
        link.value(QStringLiteral("IgnoreSpecificDefaultLibraries")));
    const QString definitions = link.value(QStringLiteral("ModuleDefinitionFile"));
    if (!definitions.isEmpty())
        options << QStringLiteral("/DEF:") + hostPath(definitions);
    if (link.value(QStringLiteral("TargetMachine")) == QLatin1String("MachineX64"))
        options << QStringLiteral("/MACHINE:X64");
    return options << optionList(link.value(QStringLiteral("AdditionalOptions")));
}
