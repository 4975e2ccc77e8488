/* Kestrune's stand-in for the coupling client interface of EDEM 2018, exported by
   EDEMCouplingClient4.dll: a UDF connects to a running EDEM, advances it and exchanges forces. */
#ifndef KESTRUNE_STANDIN_EDEM_COUPLING_CLIENT_H
#define KESTRUNE_STANDIN_EDEM_COUPLING_CLIENT_H

#include "EdemCoreTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

EdemResult edemConnect(void);
EdemResult edemDisconnect(void);
EdemResult edemSimulate(double timeStep);
EdemResult edemGetNumberOfParticles(int *count);
EdemResult edemSetParticleForce(int particle, EdemVector3 force);

#ifdef __cplusplus
}
#endif

#endif /* KESTRUNE_STANDIN_EDEM_COUPLING_CLIENT_H */
