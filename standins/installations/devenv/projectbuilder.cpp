#include "projectbuilder.h"

#include "msbuildtext.h"
#include "msvcoptions.h"
#include "projectbuild.h"
#include "solutionfile.h"
#include "toolrun.h"

#include <QDir>
#include <QFileInfo>

QString pathProperty(const ProjectBuild &build, const QString &value)
{
    return absoluteIn(build.project.folder, expandProperties(value, build.properties));
}

namespace {

QString defaultExtension(const QString &configurationType)
{
    if (configurationType == QLatin1String("Application"))
        return QStringLiteral(".exe");
    if (configurationType == QLatin1String("StaticLibrary"))
        return QStringLiteral(".lib");
    return QStringLiteral(".dll");
}

// The properties MSBuild defines for a project, with Visual Studio's defaults where the project
// sets none.
QHash<QString, QString> buildProperties(
    const ProjectFile &project, const QString &configurationPlatform, const QString &solutionFolder)
{
    const int bar = configurationPlatform.indexOf(QLatin1Char('|'));
    QHash<QString, QString> properties {
        { "Configuration", configurationPlatform.left(bar) },
        { "Platform", configurationPlatform.mid(bar + 1) },
        { "ProjectName", project.name },
        { "ProjectDir", project.folder + "/" },
        { "SolutionDir", solutionFolder + "/" },
    };
    const QHash<QString, QString> defaults {
        { "IntDir", "$(Platform)\\$(Configuration)\\" },
        { "OutDir", "$(SolutionDir)$(Platform)\\$(Configuration)\\" },
        { "TargetName", "$(ProjectName)" },
        { "TargetExt", defaultExtension(project.configurationType) },
    };
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        const QString value = project.properties.value(it.key(), it.value());
        properties.insert(it.key(), expandProperties(value, properties));
    }
    return properties;
}

Settings expanded(const Settings &settings, const QHash<QString, QString> &properties)
{
    Settings result;
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        result.insert(it.key(), expandProperties(it.value(), properties));
    return result;
}

// What makes MSBuild stop before compiling, or warn: a configuration the project lacks, custom
// build steps (CMake's re-run rules, which the stand-in cannot run and which must be gone from a
// cleaned project), and references to project files that are missing.
bool checkProject(const ProjectBuild &build, const QString &configurationPlatform)
{
    const ProjectFile &project = build.project;
    if (!project.configurations.contains(configurationPlatform, Qt::CaseInsensitive)) {
        build.output.error(QStringLiteral("MSB8013"),
            QStringLiteral("This project doesn't contain the Configuration and Platform "
                           "combination of %1.")
                .arg(configurationPlatform));
        return false;
    }
    if (build.properties.value(QStringLiteral("Platform")).compare("x64", Qt::CaseInsensitive)) {
        build.output.error(QString(), QStringLiteral("the stand-in devenv builds for x64 only"));
        return false;
    }
    for (const QString &reference : project.projectReferences) {
        if (!QFileInfo::exists(absoluteIn(project.folder, reference)))
            build.output.warning(QStringLiteral("MSB9008"),
                QStringLiteral("The referenced project %1 does not exist.").arg(reference));
    }
    for (const QString &rule : project.customBuilds) {
        build.output.error(QStringLiteral("MSB8066"),
            QStringLiteral("Custom build for '%1' exited with code 1. The stand-in devenv runs no "
                           "custom build steps.")
                .arg(rule));
    }
    return project.customBuilds.isEmpty();
}

QString objectPathFor(const ProjectBuild &build, const QString &source)
{
    const Settings &clCompile = build.project.clCompile;
    QString object = expandProperties(
        clCompile.value(QStringLiteral("ObjectFileName"), QStringLiteral("$(IntDir)")),
        build.properties);
    if (object.endsWith(QLatin1Char('\\')) || object.endsWith(QLatin1Char('/')))
        object += QFileInfo(source).completeBaseName() + QStringLiteral(".obj");
    return absoluteIn(build.project.folder, object);
}

bool compileSource(ProjectBuild &build, const ProjectSource &source)
{
    const QString path = absoluteIn(build.project.folder, source.path);
    if (!QFileInfo(path).isFile()) {
        build.output.error(QStringLiteral("C1083"),
            QStringLiteral("Cannot open source file: '%1': No such file or directory").arg(path));
        return false;
    }
    build.output.line(QFileInfo(path).fileName());
    QStringList options;
    QString problem;
    if (!compilerOptions(expanded(build.project.clCompile, build.properties), source.compileAs,
            options, problem)) {
        build.output.error(QString(), problem);
        return false;
    }
    const QString object = objectPathFor(build, path);
    QDir().mkpath(QFileInfo(object).absolutePath());
    // Inputs after "--": clang-cl would read an absolute path of this host as an option.
    const QStringList arguments = QStringList { QStringLiteral("--target=x86_64-pc-windows-msvc") }
        + options + QStringList { QStringLiteral("/Fo") + object, QStringLiteral("--"), path };
    QString messages;
    const int status = runTool(build.toolchain.compiler, arguments, build.project.folder, messages);
    build.output.lines(messages);
    build.objects << object;
    return status == 0;
}

// Like MSBuild's CL task, every source is compiled even after one failed.
bool compileSources(ProjectBuild &build)
{
    bool compiled = true;
    for (const ProjectSource &source : build.project.sources) {
        if (!source.excluded && !compileSource(build, source))
            compiled = false;
    }
    return compiled;
}

} // namespace

bool buildProject(const SolutionProject &entry, const QString &projectConfiguration,
    const QString &solutionFolder, const Toolchain &toolchain, int number)
{
    const BuildOutput output(number, entry.path);
    ProjectFile project;
    QString error;
    if (!readProjectFile(entry.path, projectConfiguration, project, error)) {
        if (BuildOutput::style() == BuildOutput::Style::MSBuild)
            output.error(QString(), error);
        else
            output.line(QStringLiteral("%1 : %2").arg(entry.path, error));
        return false;
    }
    output.heading(QStringLiteral("------ Build started: Project: %1, Configuration: %2 ------")
                       .arg(entry.name, QString(projectConfiguration).replace('|', ' ')));
    ProjectBuild build { project, toolchain, output,
        buildProperties(project, projectConfiguration, solutionFolder), {} };
    if (!checkProject(build, projectConfiguration))
        return false;
    if (project.configurationType == QLatin1String("Utility"))
        return true;
    if (!compileSources(build))
        return false;
    QString outputFile;
    if (!linkProject(build, outputFile))
        return false;
    output.line(QStringLiteral("%1 -> %2").arg(QFileInfo(entry.path).fileName(), outputFile));
    return true;
}
