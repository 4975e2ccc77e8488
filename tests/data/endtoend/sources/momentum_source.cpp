// The momentum the particles give back to the flow, in C++.
#include "udf.h"

namespace {
constexpr real dragCoefficient = 0.4;
}

DEFINE_SOURCE(x_momentum_source, c, t, dS, eqn)
{
    dS[eqn] = -dragCoefficient;
    return -dragCoefficient * C_T(c, t) * 1.0e-3;
}
