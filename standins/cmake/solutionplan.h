#ifndef STANDIN_SOLUTIONPLAN_H
#define STANDIN_SOLUTIONPLAN_H

#include "codemodel.h"
#include "commandline.h"

// One project of a Visual Studio solution: a library target of the tree, or one of the
// generator's own utility targets.
struct VsTarget {
    enum Kind { Library, AllBuild, ZeroCheck };
    Kind kind = Library;
    QString name;
    QString binaryDir; // where its .vcxproj lies
    int directory = -1; // the directory whose rules and include folders it carries
    int target = -1; // index into CodeModel::targets for a library
    QStringList dependencies; // target names, sorted
};

struct Solution {
    QString name; // "<project>.sln", or .slnx
    QString directory;
    QList<VsTarget> targets; // ALL_BUILD first, then by name
};

// Everything the writers share.
struct Emulation {
    CodeModel model;
    VsGenerator generator;
    QString platform;
    QString cmakeCommand; // the cmake the rules call back
    QList<VsTarget> targets; // every project file to write
    QList<Solution> solutions;

    QString solutionFileName(const QString &project) const;
    QString topSolutionPath() const;
    QString guid(const QString &name) const;
    QString stampFile(int directory) const;
    QString ruleFile() const;
};

// Lays out the projects and solutions the Visual Studio generator makes from the model.
void planSolutions(Emulation &emulation);

#endif // STANDIN_SOLUTIONPLAN_H
