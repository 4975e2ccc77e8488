/* Material data shared by the heated wall's functions. */
#ifndef FLOW_PROPS_H
#define FLOW_PROPS_H

#define WALL_HEAT_FLUX 1500.0 /* W/m2 */

#endif
