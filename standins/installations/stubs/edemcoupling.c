/* Kestrune's stand-in for EDEM's coupling client EDEMCouplingClient4.dll, which a coupled UDF
   library loads: no EDEM runs behind it, so connecting fails and there are no particles. It needs
   no C runtime. */
#include "EdemCouplingClient.h"

/* Objects that use floating point ask for this symbol; there is no C runtime to give it. */
int _fltused = 0x9875;

EdemResult edemConnect(void)
{
    return 1;
}

EdemResult edemDisconnect(void)
{
    return 0;
}

EdemResult edemSimulate(double timeStep)
{
    return timeStep > 0.0 ? 1 : 2;
}

EdemResult edemGetNumberOfParticles(int *count)
{
    *count = 0;
    return 0;
}

EdemResult edemSetParticleForce(int particle, EdemVector3 force)
{
    (void)force;
    return particle < 0 ? 2 : 1;
}
