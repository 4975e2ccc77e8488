// The coupling adaptor's particle data: it connects to EDEM when Fluent loads the library and
// applies EDEM's particles as a body force. Only the host process runs it.
#include "udf.h"
#include "EdemCouplingClient.h"
#include "particle_settings.h"

namespace {

class CParticleData {
public:
    bool connect() { return connected = edemConnect() == 0; }
    int count() const
    {
        int particles = 0;
        return connected && edemGetNumberOfParticles(&particles) == 0 ? particles : 0;
    }

private:
    bool connected = false;
};

CParticleData particleData;

} // namespace

DEFINE_EXECUTE_ON_LOADING(connect_edem, libname)
{
    if (!particleData.connect())
        Message("%s: EDEM is not running\n", libname);
}

DEFINE_DPM_BODY_FORCE(particle_body_force, tp, i)
{
    (void)tp;
    return particleData.count() > 0 ? PARTICLE_GRAVITY * (i == 1) : 0.0;
}
