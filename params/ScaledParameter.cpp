#include "params/ScaledParameter.h"

#include "params/curves.h"

namespace Steinberg {
namespace Vst {

ScaledParameter::ScaledParameter(const TChar* title, ParamID id, const TChar* units, const ParameterRecord& record,
                                 double span, double minimum)
    : MyParameter(title, id, units, record.defaultNormalized, 0, record.flags), span(span), minimum(minimum)
{
}

ParamValue ScaledParameter::toPlain(ParamValue valueNormalized) const
{
    return valueNormalized * span + minimum;
}

ParamValue ScaledParameter::toNormalized(ParamValue plainValue) const
{
    return Curves::clampFromPlain((plainValue - minimum) / span);
}

} // namespace Vst
} // namespace Steinberg
