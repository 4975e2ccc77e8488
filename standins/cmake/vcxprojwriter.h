#ifndef STANDIN_VCXPROJWRITER_H
#define STANDIN_VCXPROJWRITER_H

#include "solutionplan.h"

// The texts of a target's .vcxproj and .vcxproj.filters, line feeds as "\n".
QString projectText(const Emulation &emulation, const VsTarget &target);
QString filtersText(const Emulation &emulation, const VsTarget &target);

#endif // STANDIN_VCXPROJWRITER_H
