#include "params/FaderParameter.h"

#include "params/curves.h"
#include "pluginterfaces/base/fstrdefs.h"

namespace Steinberg {
namespace Vst {

namespace {
const TChar kSilenceText[] = STR16("-inf");
} // namespace

FaderParameter::FaderParameter(const TChar* title, ParamID id, const TChar* units, const ParameterRecord& record)
    : MyParameter(title, id, units, record.defaultNormalized, 0, record.flags)
{
}

void FaderParameter::toString(ParamValue valueNormalized, String128 string) const
{
    if (valueNormalized == 0.0)
        copyText(string, kSilenceText);
    else
        MyParameter::toString(valueNormalized, string);
}

ParamValue FaderParameter::toPlain(ParamValue valueNormalized) const
{
    return Curves::faderToDb(valueNormalized);
}

ParamValue FaderParameter::toNormalized(ParamValue plainValue) const
{
    return Curves::dbToFader(plainValue);
}

} // namespace Vst
} // namespace Steinberg
