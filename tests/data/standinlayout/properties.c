#include "udf.h"

DEFINE_PROPERTY(density, c, t)
{
    return t ? 1.225 : 1000.0 + c;
}

DEFINE_DIFFUSIVITY(diffusivity, c, t, i)
{
    return 1e-5 * (i + 1) + (t ? c : 0);
}

DEFINE_SOURCE(momentum_source, c, t, dS, eqn)
{
    dS[eqn] = 0.0;
    return t ? -0.5 * c : 0.0;
}

DEFINE_UDS_FLUX(uds_flux, f, t, i)
{
    return t ? f * i : 0.0;
}

DEFINE_CG_MOTION(piston, dt, vel, omega, time, dtime)
{
    vel[0] = dt ? time * dtime : 0.0;
    omega[0] = 0.0;
}

DEFINE_DPM_DRAG(drag_factor, Re, tp)
{
    return tp ? 18.0 + 0.15 * Re : 0.0;
}

DEFINE_DPM_BODY_FORCE(buoyancy, tp, i)
{
    return tp ? 9.81 * i : 0.0;
}
