#include "dsp/StereoOp.h"

#include <cmath>

namespace Stereo {

const double kSqrt2 = std::sqrt(2.0);

double lawBlend(double law)
{
    return (std::pow(10.0, (law - 3.0) / 20.0) - 1.0) / (kSqrt2 - 1.0);
}

} // namespace Stereo
