/* Kestrune's stand-in for the material property header of a Fluent 19.2 installation: the
   DEFINE_ macros of property and diffusivity functions. */
#ifndef KESTRUNE_STANDIN_PROP_H
#define KESTRUNE_STANDIN_PROP_H

#include "udf.h"

#define DEFINE_PROPERTY(name, c, t) UDF_C_LINKAGE real name(cell_t c, Thread *t)
#define DEFINE_DIFFUSIVITY(name, c, t, i) UDF_C_LINKAGE real name(cell_t c, Thread *t, int i)

#endif /* KESTRUNE_STANDIN_PROP_H */
