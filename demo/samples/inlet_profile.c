/* A parabolic inlet velocity profile for a plane channel. */
#include "udf.h"
#include "flow_props.h"

DEFINE_PROFILE(inlet_velocity, thread, position)
{
    real x[ND_ND];
    face_t f;
    begin_f_loop(f, thread)
    {
        F_CENTROID(x, f, thread);
        real eta = x[1] / CHANNEL_HALF_HEIGHT;
        F_PROFILE(f, thread, position) = INLET_PEAK_VELOCITY * (1.0 - eta * eta);
    }
    end_f_loop(f, thread)
}
