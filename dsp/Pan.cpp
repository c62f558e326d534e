#include "dsp/Pan.h"

#include <cmath>

namespace Stereo {

void Balance::update()
{
    const double b = blendOfLaw.of(law);
    const double g = (b * (1.0 / std::cos(angle) - 1.0) + 1.0) * kSqrt2;
    setLr(std::cos(kQuarterPi - angle) * g, 0.0, 0.0, std::sin(kQuarterPi - angle) * g);
}

void ShearBalance::update()
{
    const double s = angle / kQuarterPi; // -1..1
    setMs(1.0, 0.0, s, 1.0 - std::fabs(s) * crush);
}

void HybridPan::update()
{
    const double b = blendOfLaw.of(law);
    const double u = std::cos(angle);
    const double g = (1.0 / u - 1.0) * b + 1.0;
    // side weight: 1 at the centre, 0 at either hard position, for every law
    const double sinAbs = std::sin(std::fabs(angle));
    const double r = (u - sinAbs) / ((1.0 - b) * sinAbs + u);
    const double k = (1.0 - r) * crush;
    const double h = (1.0 - k) * g;
    const double sinAngle = std::sin(angle);
    setMs(u * g, sinAngle * g, -(sinAngle * h * (1.0 - b)), u * h);
}

} // namespace Stereo
