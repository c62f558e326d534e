#include "params/LogParameter.h"

#include "params/curves.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

LogParameter::LogParameter(const TChar* title, ParamID id, const TChar* units)
    : MyParameter(title, id, units, 0.0, 0, ParameterInfo::kCanAutomate), minimum(Curves::kFrequencyMinimum),
      maximum(Curves::kFrequencyMaximum), logRatio(std::log(maximum) / std::log(minimum)), lnMinimum(std::log(minimum))
{
}

ParamValue LogParameter::toPlain(ParamValue valueNormalized) const
{
    return Curves::logFrequency(valueNormalized);
}

ParamValue LogParameter::toNormalized(ParamValue plainValue) const
{
    return Curves::frequencyToNormalized(plainValue);
}

} // namespace Vst
} // namespace Steinberg
