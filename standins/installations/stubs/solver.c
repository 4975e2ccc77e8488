/* Kestrune's stand-in for Fluent's solver library as a UDF library meets it when Fluent loads
   it: fl1920.dll for serial and host processes, fl_mpi1920.dll for compute nodes, both built from
   this file with the exports of their .def files. There is no mesh behind it: threads are empty,
   centroids lie at the origin and messages go nowhere. It needs no C runtime. */
#include "udf.h"

/* Objects that use floating point ask for this symbol; there is no C runtime to give it. */
int _fltused = 0x9875;

static real profileValue = 0.0;

int Message(const char *format, ...)
{
    (void)format;
    return 0;
}

void Error(const char *format, ...)
{
    (void)format;
}

int Thread_N_Elements(Thread *t)
{
    (void)t;
    return 0;
}

void F_Centroid(real x[], face_t f, Thread *t)
{
    (void)f;
    (void)t;
    for (int i = 0; i < ND_ND; ++i)
        x[i] = 0.0;
}

void C_Centroid(real x[], cell_t c, Thread *t)
{
    (void)c;
    (void)t;
    for (int i = 0; i < ND_ND; ++i)
        x[i] = 0.0;
}

real *F_Profile_Value(face_t f, Thread *t, int i)
{
    (void)f;
    (void)t;
    (void)i;
    return &profileValue;
}

real C_Temperature(cell_t c, Thread *t)
{
    (void)c;
    (void)t;
    return 300.0;
}
