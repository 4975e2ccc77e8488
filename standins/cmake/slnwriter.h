#ifndef STANDIN_SLNWRITER_H
#define STANDIN_SLNWRITER_H

#include "solutionplan.h"

// The text of one .sln, line feeds as "\n".
QString solutionText(const Emulation &emulation, const Solution &solution);

#endif // STANDIN_SLNWRITER_H
