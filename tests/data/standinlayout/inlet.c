/* No C runtime is at hand where these objects are linked: the functions stay clear of floating
   point and local arrays, which would need it. */
#include "udf.h"

DEFINE_PROFILE(inlet_velocity, thread, position)
{
    Message("inlet %d on rank %d\n", position, mport_rank());
}

DEFINE_ADJUST(update_props, domain)
{
    if (!domain)
        Error("no domain\n");
}

DEFINE_ON_DEMAND(build_by_varnholt)
{
    Message("You are the best!!!\n");
}
