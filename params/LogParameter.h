#pragma once

#include "params/MyParameter.h"

namespace Steinberg {
namespace Vst {

// The crossover frequency: normalised v is 100 * 8^v Hz, on the same curve the
// processor applies. Continuous and automatable; reports a default of 0 (100 Hz).
class LogParameter : public MyParameter
{
public:
    LogParameter(const TChar* title, ParamID id, const TChar* units);

    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE; // Hz
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE; // clamped; 0 for Hz <= 0

    OBJ_METHODS(LogParameter, MyParameter)

    const double minimum;   // Hz at normalised 0
    const double maximum;   // Hz at normalised 1
    const double logRatio;  // ln maximum / ln minimum
    const double lnMinimum; // ln minimum
};

} // namespace Vst
} // namespace Steinberg
