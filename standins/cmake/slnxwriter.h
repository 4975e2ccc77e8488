#ifndef STANDIN_SLNXWRITER_H
#define STANDIN_SLNXWRITER_H

#include "solutionplan.h"

// The text of one .slnx (the XML solution of Visual Studio 18 and later), line feeds as "\n".
QString slnxText(const Emulation &emulation, const Solution &solution);

#endif // STANDIN_SLNXWRITER_H
