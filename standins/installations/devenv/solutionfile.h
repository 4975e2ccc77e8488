#ifndef DEVENV_SOLUTIONFILE_H
#define DEVENV_SOLUTIONFILE_H

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// One project entry of a solution (solution folders are left out).
struct SolutionProject {
    QString name;
    QString path; // absolute, in this host's form
    QString guid; // upper case, with braces; a .slnx project without Id: its path
    QStringList dependencies; // GUIDs from its ProjectDependencies section
};

// What a build needs of a solution file (.sln, or the XML .slnx): its configurations, its projects
// and, per solution configuration, each project's configuration and whether the build includes it.
struct SolutionFile {
    QStringList configurations; // "Debug|x64", ...
    QList<SolutionProject> projects; // in the order of the file
    QHash<QString, QString> activeConfigurations; // "<guid>.<solution cfg>" -> "<project cfg>"
    QSet<QString> builtProjects; // "<guid>.<solution cfg>" that the build includes
};

bool readSolutionFile(const QString &path, SolutionFile &solution, QString &error);

// The projects a build of the solution configuration includes, each after the projects it
// depends on; dependencies on projects the solution no longer holds are ignored, as Visual Studio
// does.
QList<SolutionProject> projectsToBuild(
    const SolutionFile &solution, const QString &solutionConfiguration);

#endif // DEVENV_SOLUTIONFILE_H
