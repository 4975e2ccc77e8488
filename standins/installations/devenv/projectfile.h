#ifndef DEVENV_PROJECTFILE_H
#define DEVENV_PROJECTFILE_H

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct ProjectSource {
    QString path; // as written
    QString compileAs; // CompileAsC, CompileAsCpp or empty
    bool excluded = false;
};

// What one configuration of a .vcxproj says, after its conditions were applied. Values are as
// written; "$(...)" properties are expanded by whoever uses them.
struct ProjectFile {
    QString path; // absolute, this host's form
    QString folder;
    QString name; // ProjectName, else the file's base name
    QString configurationType; // DynamicLibrary, Application, StaticLibrary, Utility
    QStringList configurations; // the ProjectConfiguration entries, "Debug|x64", ...
    QHash<QString, QString> properties; // PropertyGroup values: OutDir, IntDir, TargetName, ...
    QHash<QString, QString> clCompile; // ItemDefinitionGroup settings of each tool
    QHash<QString, QString> link;
    QHash<QString, QString> lib;
    QList<ProjectSource> sources; // ClCompile items, in order
    QStringList customBuilds; // Include of each CustomBuild item
    QStringList projectReferences; // Include of each ProjectReference item
};

bool readProjectFile(const QString &path, const QString &configurationPlatform,
    ProjectFile &project, QString &error);

#endif // DEVENV_PROJECTFILE_H
