/* Kestrune's stand-in for the UDF header of a Fluent 19.2 installation. It holds only what a UDF
   function table (udf_names.c) and small user functions need: the table row, the function types,
   the DEFINE_ macros, Message and the opaque solver types. It needs no C runtime header, so that it
   compiles for x64 Windows on hosts without the Windows SDK. */
#ifndef KESTRUNE_STANDIN_UDF_H
#define KESTRUNE_STANDIN_UDF_H

/* A UDF written in C++ must keep the C names that the function table refers to. */
#ifdef __cplusplus
#define UDF_C_LINKAGE extern "C"
extern "C" {
#else
#define UDF_C_LINKAGE
#endif

typedef double real;
typedef int cell_t;
typedef int face_t;
typedef struct thread_struct Thread;
typedef struct domain_struct Domain;
typedef struct dynamic_thread_struct Dynamic_Thread;

/* One row of the table that Fluent's loader reads from a UDF library: the function's name, its
   address and what kind of function it is. */
typedef struct
{
    const char *name;
    void (*fcn)(void);
    int type;
} UDF_Data;

enum {
    UDF_TYPE_PROFILE = 1,
    UDF_TYPE_SOURCE,
    UDF_TYPE_ADJUST,
    UDF_TYPE_ON_DEMAND,
    UDF_TYPE_INIT,
    UDF_TYPE_EXECUTE_AT_END,
    UDF_TYPE_EXECUTE_AT_EXIT,
    UDF_TYPE_EXECUTE_ON_LOADING,
    UDF_TYPE_PROPERTY,
    UDF_TYPE_DIFFUSIVITY,
    UDF_TYPE_UDS_FLUX,
    UDF_TYPE_UDS_UNSTEADY,
    UDF_TYPE_CG_MOTION,
    UDF_TYPE_DPM_BODY_FORCE,
    UDF_TYPE_DPM_DRAG,
    UDF_TYPE_DPM_SOURCE,
    UDF_TYPE_DPM_INJECTION_INIT,
    UDF_TYPE_DPM_SCALAR_UPDATE
};

/* Solver services, exported by the solver library that the UDF library links (fl1920.dll on
   serial and host processes, fl_mpi1920.dll on compute nodes). Both format like printf. */
int Message(const char *format, ...);
void Error(const char *format, ...);

/* Message passing between host and nodes, from the multiport library (mport.dll) of parallel
   builds: the rank of the calling process. */
int mport_rank(void);

#ifdef __cplusplus
}
#endif

#define DEFINE_PROFILE(name, t, i) UDF_C_LINKAGE void name(Thread *t, int i)
#define DEFINE_SOURCE(name, c, t, dS, eqn) \
    UDF_C_LINKAGE real name(cell_t c, Thread *t, real dS[], int eqn)
#define DEFINE_ADJUST(name, d) UDF_C_LINKAGE void name(Domain *d)
#define DEFINE_ON_DEMAND(name) UDF_C_LINKAGE void name(void)
#define DEFINE_INIT(name, d) UDF_C_LINKAGE void name(Domain *d)
#define DEFINE_EXECUTE_AT_END(name) UDF_C_LINKAGE void name(void)
#define DEFINE_EXECUTE_AT_EXIT(name) UDF_C_LINKAGE void name(void)
#define DEFINE_EXECUTE_ON_LOADING(name, libname) UDF_C_LINKAGE void name(char *libname)
#define DEFINE_UDS_FLUX(name, f, t, i) UDF_C_LINKAGE real name(face_t f, Thread *t, int i)
#define DEFINE_UDS_UNSTEADY(name, c, t, i, apu, su) \
    UDF_C_LINKAGE void name(cell_t c, Thread *t, int i, real *apu, real *su)
#define DEFINE_CG_MOTION(name, dt, vel, omega, time, dtime) \
    UDF_C_LINKAGE void name(Dynamic_Thread *dt, real vel[], real omega[], real time, real dtime)

/* The property and particle macros live in their own headers; a UDF source includes udf.h only. */
#include "prop.h"
#include "dpm.h"

#endif /* KESTRUNE_STANDIN_UDF_H */
