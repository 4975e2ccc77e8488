/* A heater that switches off above its set point, and a report of it on demand. */
#include "udf.h"

static const real setPoint = 350.0; /* K */
static int reports = 0;

DEFINE_SOURCE(heater_energy_source, c, t, dS, eqn)
{
    const real temperature = C_T(c, t);
    dS[eqn] = 0.0;
    return temperature < setPoint ? 4.0e5 : 0.0;
}

DEFINE_ON_DEMAND(report_heater)
{
    ++reports;
    Message("heater report %d: set point %g K\n", reports, setPoint);
}
