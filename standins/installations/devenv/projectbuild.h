#ifndef DEVENV_PROJECTBUILD_H
#define DEVENV_PROJECTBUILD_H

#include "buildoutput.h"
#include "projectfile.h"
#include "toolchain.h"

#include <QHash>
#include <QString>
#include <QStringList>

// One project's build in progress: its file, the tools, where its lines go, the MSBuild
// properties its values are expanded with, and the objects compiled so far.
struct ProjectBuild {
    const ProjectFile &project;
    const Toolchain &toolchain;
    BuildOutput output;
    QHash<QString, QString> properties;
    QStringList objects;
};

// A path-valued setting, expanded and made absolute against the project's folder.
QString pathProperty(const ProjectBuild &build, const QString &value);

// Links the compiled objects (or archives them, for a static library) into the file the
// project names, which outputFile receives.
bool linkProject(ProjectBuild &build, QString &outputFile);

#endif // DEVENV_PROJECTBUILD_H
