/* Kestrune's stand-in for the discrete phase header of a Fluent 19.2 installation: the particle
   types (opaque here) and the DEFINE_DPM_ macros. */
#ifndef KESTRUNE_STANDIN_DPM_H
#define KESTRUNE_STANDIN_DPM_H

#include "udf.h"

typedef struct tracked_particle_struct Tracked_Particle;
typedef struct injection_struct Injection;
typedef struct dpm_source_struct dpms_t;

#define DEFINE_DPM_BODY_FORCE(name, tp, i) UDF_C_LINKAGE real name(Tracked_Particle *tp, int i)
#define DEFINE_DPM_DRAG(name, Re, tp) UDF_C_LINKAGE real name(real Re, Tracked_Particle *tp)
#define DEFINE_DPM_SOURCE(name, c, t, S, strength, tp) \
    UDF_C_LINKAGE void name(cell_t c, Thread *t, dpms_t *S, real strength, Tracked_Particle *tp)
#define DEFINE_DPM_INJECTION_INIT(name, I) UDF_C_LINKAGE void name(Injection *I)
#define DEFINE_DPM_SCALAR_UPDATE(name, c, t, initialize, tp) \
    UDF_C_LINKAGE void name(cell_t c, Thread *t, int initialize, Tracked_Particle *tp)

#endif /* KESTRUNE_STANDIN_DPM_H */
