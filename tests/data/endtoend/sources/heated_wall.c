/* A wall heat flux profile from a header of the project. */
#include "udf.h"
#include "flow_props.h"

DEFINE_PROFILE(wall_heat_flux, thread, position)
{
    face_t f;
    begin_f_loop(f, thread)
    {
        F_PROFILE(f, thread, position) = WALL_HEAT_FLUX;
    }
    end_f_loop(f, thread)
}
