/* Values shared by the test project's sources. */
#ifndef SETTINGS_H
#define SETTINGS_H

#define INLET_PEAK 2.5
#define PARTICLE_SLOTS 600 /* more than a page of doubles: the stack is probed */

#endif
