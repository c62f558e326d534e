#include "params/LogParameter.h"

#include "params/curves.h"

namespace Steinberg {
namespace Vst {

LogParameter::LogParameter(const TChar* title, ParamID id, const TChar* units, const ParameterRecord& record)
    : MyParameter(title, id, units, 0.0, 0, record.flags)
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
