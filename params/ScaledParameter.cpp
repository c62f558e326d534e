#include "params/ScaledParameter.h"

namespace Steinberg {
namespace Vst {

ScaledParameter::ScaledParameter(const TChar* title, ParamID id, const TChar* units, double span, double minimum,
                                 double plainDefault)
    : MyParameter(title, id, units, 0.0, 0, ParameterInfo::kCanAutomate), span(span), minimum(minimum)
{
    info.defaultNormalizedValue = valueNormalized = toNormalized(plainDefault);
}

ParamValue ScaledParameter::toPlain(ParamValue valueNormalized) const
{
    return valueNormalized * span + minimum;
}

ParamValue ScaledParameter::toNormalized(ParamValue plainValue) const
{
    return clampToUnit((plainValue - minimum) / span);
}

} // namespace Vst
} // namespace Steinberg
