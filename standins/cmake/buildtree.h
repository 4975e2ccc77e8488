#ifndef STANDIN_BUILDTREE_H
#define STANDIN_BUILDTREE_H

#include "solutionplan.h"

// Writes into the -B folder everything the Visual Studio generator writes there: solutions,
// project and filter files, the stamp files, CMakeCache.txt, the install scripts and the compiler
// detection folder. The last three are taken from the scratch build, moved into the -B folder.
// Failures name the files that could not be written.
bool writeBuildTree(const Emulation &emulation, const QString &scratchBuild, QStringList &failures);

#endif // STANDIN_BUILDTREE_H
