/* Kestrune's stand-in for the UDF header of a Fluent 19.2 installation. It holds only what a UDF
   function table (udf_names.c) and small user functions need: the table row, the function types,
   the DEFINE_ macros, Message, face and cell loops with a few field accessors, and the opaque
   solver types. It needs no C runtime header, so that it compiles for x64 Windows on hosts
   without the Windows SDK. */
#ifndef KESTRUNE_STANDIN_UDF_H
#define KESTRUNE_STANDIN_UDF_H

/* The variant's folder, on the include path of a variant's build, says whether the library runs in
   the host or a compute node. The stubs of the installation compile without it. */
#if defined(__has_include)
#if __has_include("udfconfig.h")
#include "udfconfig.h"
#endif
#endif

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

/* The kinds of function, in the order of their numbers (PROFILE is 1). A loader that prints a
   table names the kinds through this same list, so the two cannot drift apart. */
#define UDF_TYPE_LIST(X) \
    X(PROFILE) \
    X(SOURCE) \
    X(ADJUST) \
    X(ON_DEMAND) \
    X(INIT) \
    X(EXECUTE_AT_END) \
    X(EXECUTE_AT_EXIT) \
    X(EXECUTE_ON_LOADING) \
    X(PROPERTY) \
    X(DIFFUSIVITY) \
    X(UDS_FLUX) \
    X(UDS_UNSTEADY) \
    X(CG_MOTION) \
    X(DPM_BODY_FORCE) \
    X(DPM_DRAG) \
    X(DPM_SOURCE) \
    X(DPM_INJECTION_INIT) \
    X(DPM_SCALAR_UPDATE)

#define UDF_TYPE_ENUMERATOR(kind) UDF_TYPE_##kind,
enum { UDF_TYPE_NONE = 0, UDF_TYPE_LIST(UDF_TYPE_ENUMERATOR) UDF_TYPE_COUNT };
#undef UDF_TYPE_ENUMERATOR

/* Solver services, exported by the solver library that the UDF library links (fl1920.dll on
   serial and host processes, fl_mpi1920.dll on compute nodes). Message and Error format like
   printf. */
int Message(const char *format, ...);
void Error(const char *format, ...);

/* Mesh and field access, also from the solver library. Fluent reaches most of these through
   macros over its own storage; here they are plain functions behind the same macros. */
int Thread_N_Elements(Thread *t);
void F_Centroid(real x[], face_t f, Thread *t);
void C_Centroid(real x[], cell_t c, Thread *t);
real *F_Profile_Value(face_t f, Thread *t, int i);
real C_Temperature(cell_t c, Thread *t);

/* Message passing between host and nodes, from the multiport library (mport.dll) of parallel
   builds: the rank of the calling process. A node links the MPI build of the library, which has
   the query under its own name. */
#ifdef RP_NODE
#define mport_rank mport_node_rank
#endif
int mport_rank(void);

#ifdef __cplusplus
}
#endif

/* Dimension of the solver: the 2D variants define RP_2D. */
#ifdef RP_2D
#define ND_ND 2
#else
#define ND_ND 3
#endif

/* Loops over the faces or cells of a thread, closed by the matching end macro. */
#define begin_f_loop(f, t) for ((f) = 0; (f) < Thread_N_Elements(t); ++(f)) {
#define end_f_loop(f, t) }
#define begin_c_loop(c, t) for ((c) = 0; (c) < Thread_N_Elements(t); ++(c)) {
#define end_c_loop(c, t) }

#define F_CENTROID(x, f, t) F_Centroid((x), (f), (t))
#define C_CENTROID(x, c, t) C_Centroid((x), (c), (t))
/* The boundary profile value of a face: assignable, as in Fluent. */
#define F_PROFILE(f, t, i) (*F_Profile_Value((f), (t), (i)))
#define C_T(c, t) C_Temperature((c), (t))

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
