// The particle data of a coupling adaptor, in C++: a global object built when the library loads
// and destroyed when it unloads, and a function with more than a page of locals.
#include "udf.h"
#include "settings.h"

namespace {

class ParticleData {
public:
    ParticleData() : rank(mport_rank()) { }
    ~ParticleData() { rank = -1; }
    int owner() const { return rank; }

private:
    int rank;
};

ParticleData particles;

} // namespace

DEFINE_ON_DEMAND(report_particles)
{
    double masses[PARTICLE_SLOTS];
    for (int i = 0; i < PARTICLE_SLOTS; ++i)
        masses[i] = 1.0e-6 * i;
    Message("rank %d, last mass %g\n", particles.owner(), masses[PARTICLE_SLOTS - 1]);
}
