#pragma once

#include "params/MyParameter.h"

namespace Steinberg {
namespace Vst {

// A gain fader: normalised 0..1 onto -70..+12 dB, 0 dB at 0.75, on the same
// curve the processor applies. Normalised 0 is silence and reads "-inf".
class FaderParameter : public MyParameter
{
public:
    // Default and flags as the record says; step count 0.
    FaderParameter(const TChar* title, ParamID id, const TChar* units, const ParameterRecord& record);

    void toString(ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE; // dB
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE; // clamped to 0..1

    OBJ_METHODS(FaderParameter, MyParameter)
};

} // namespace Vst
} // namespace Steinberg
