#ifndef STANDIN_GENERATE_H
#define STANDIN_GENERATE_H

#include "commandline.h"

// Has the real CMake configure the source tree in a scratch folder, then writes what the Visual
// Studio generator would write into the -B folder. Gives cmake's exit status.
int generateSolution(
    const CommandLine &line, const VsGenerator &generator, const QString &realCMake);

#endif // STANDIN_GENERATE_H
