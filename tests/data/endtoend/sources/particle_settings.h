/* Settings of the coupled particles. */
#ifndef PARTICLE_SETTINGS_H
#define PARTICLE_SETTINGS_H

#define PARTICLE_GRAVITY -9.81 /* m/s2 */

#endif
