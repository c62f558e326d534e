#pragma once

#include "params/MyParameter.h"

namespace Steinberg {
namespace Vst {

// A continuous, automatable parameter linear in its plain value:
// plain = normalised * span + minimum.
class ScaledParameter : public MyParameter
{
public:
    // Default and flags as the record says; step count 0.
    ScaledParameter(const TChar* title, ParamID id, const TChar* units, const ParameterRecord& record, double span,
                    double minimum);

    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE; // not clamped
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE; // clamped to 0..1

    OBJ_METHODS(ScaledParameter, MyParameter)

    const double span;    // maximum minus minimum, in plain units
    const double minimum; // plain value at normalised 0
};

} // namespace Vst
} // namespace Steinberg
