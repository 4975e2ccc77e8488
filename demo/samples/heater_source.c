/* A constant volumetric heat source in the heater zone. */
#include "udf.h"
#include "flow_props.h"

DEFINE_SOURCE(heater_energy_source, cell, thread, dS, eqn)
{
    dS[eqn] = 0.0; /* the source does not depend on temperature */
    return HEATER_POWER_DENSITY;
}
