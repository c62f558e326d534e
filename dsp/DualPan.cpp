#include "dsp/DualPan.h"

#include <cmath>

namespace Stereo {

void DualPan::update()
{
    const double b = blendOfLaw.of(law);
    const double gL = (1.0 / (std::cos(angleL) * kSqrt2) - 1.0) * b + 1.0;
    const double gR = (1.0 / (std::cos(angleR) * kSqrt2) - 1.0) * b + 1.0;
    setLr(std::cos(kQuarterPi - angleL) * gL, std::sin(kQuarterPi - angleL) * gL, std::cos(kQuarterPi - angleR) * gR,
          std::sin(kQuarterPi - angleR) * gR);
}

void DualPan::setAngles(double left, double right)
{
    angleL = left;
    angleR = right;
    update();
}

} // namespace Stereo
