#ifndef DEVENV_PROJECTBUILDER_H
#define DEVENV_PROJECTBUILDER_H

#include "toolchain.h"

#include <QString>

struct SolutionProject;

// Builds one project of a solution the way MSBuild would for one configuration: reads its
// .vcxproj, compiles each ClCompile source with clang-cl as cl would be called, and links the
// objects and AdditionalDependencies with lld-link into the file the project names. Output lines
// carry the project's number. False when anything failed; the errors are printed.
bool buildProject(const SolutionProject &entry, const QString &projectConfiguration,
    const QString &solutionFolder, const Toolchain &toolchain, int number);

#endif // DEVENV_PROJECTBUILDER_H
