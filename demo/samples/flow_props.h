/* Material data shared by the sample UDFs. */
#ifndef FLOW_PROPS_H
#define FLOW_PROPS_H

#define INLET_PEAK_VELOCITY 2.5  /* m/s at the channel centre */
#define CHANNEL_HALF_HEIGHT 0.05 /* m */
#define HEATER_POWER_DENSITY 4.0e5 /* W/m3 inside the heated zone */

#endif
