/* A parabolic inlet velocity over the faces of the inlet. */
#include "udf.h"

#define PEAK_VELOCITY 2.5 /* m/s */
#define HALF_HEIGHT 0.05 /* m */

DEFINE_PROFILE(inlet_velocity, thread, position)
{
    real x[ND_ND];
    face_t f;
    begin_f_loop(f, thread)
    {
        F_CENTROID(x, f, thread);
        real eta = x[1] / HALF_HEIGHT;
        F_PROFILE(f, thread, position) = PEAK_VELOCITY * (1.0 - eta * eta);
    }
    end_f_loop(f, thread)
}
