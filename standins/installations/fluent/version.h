/* Kestrune's stand-in for the release header of a Fluent 19.2 installation: the release that a UDF
   library reports to the loader through UDF_Inquire_Release. */
#ifndef KESTRUNE_STANDIN_VERSION_H
#define KESTRUNE_STANDIN_VERSION_H

#define RampantReleaseMajor 19
#define RampantReleaseMinor 2
#define RampantReleaseRevision 0

#endif /* KESTRUNE_STANDIN_VERSION_H */
