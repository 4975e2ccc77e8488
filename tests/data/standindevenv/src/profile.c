/* A boundary profile and a property, in C. The checks make the compile fail when the project's
   definitions do not reach the compiler; the exported texts tell which configuration and which C
   runtime the library was built with. */
#include "udf.h"
#include "settings.h"

#if !defined(_3ddp_host_EXPORTS) && !defined(_3ddp_node_EXPORTS)
#error "the project's export macro did not reach the compiler"
#endif

__declspec(dllexport) const char built_for[] = "built for " CMAKE_INTDIR;
#ifdef _DEBUG
__declspec(dllexport) const char runtime_library[] = "debug C runtime";
#else
__declspec(dllexport) const char runtime_library[] = "release C runtime";
#endif

DEFINE_PROFILE(inlet_velocity, thread, position)
{
    real x[ND_ND];
    face_t f;
    begin_f_loop(f, thread)
    {
        F_CENTROID(x, f, thread);
        F_PROFILE(f, thread, position) = INLET_PEAK * (1.0 - x[1] * x[1]);
    }
    end_f_loop(f, thread)
}

DEFINE_PROPERTY(density, c, t)
{
    return C_T(c, t) > 0.0 ? 101325.0 / (287.0 * C_T(c, t)) : 1.2;
}

/* Host and node ask the rank from their own build of the message passing library. */
__declspec(dllexport) int rank_of_this_process(void)
{
    return mport_rank();
}
