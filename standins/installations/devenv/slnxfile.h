#ifndef DEVENV_SLNXFILE_H
#define DEVENV_SLNXFILE_H

#include "solutionfile.h"

#include <QByteArray>

// Reads an XML solution (.slnx, Visual Studio 17.14 and later) into the model a .sln gives:
// solution configurations from <BuildType> and <Platform>, every <Project> wherever it sits,
// build order from <BuildDependency>, and per configuration the <BuildType>, <Platform> and
// <Build Project="false"> overrides of a project. A project without an Id is known by its path.
bool readSlnxText(
    const QByteArray &text, const QString &folder, SolutionFile &solution, QString &error);

#endif // DEVENV_SLNXFILE_H
