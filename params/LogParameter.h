#pragma once

#include "params/MyParameter.h"

namespace Steinberg {
namespace Vst {

// The crossover frequency: normalised v is 100 * 8^v Hz, on the same curve the
// processor applies. Continuous; its flags are the record's.
class LogParameter : public MyParameter
{
public:
    // Reports a default of 0 (100 Hz) rather than the record's 300 Hz: the
    // default hosts read for this parameter must not move. The controller
    // starts it there until the processor's state arrives.
    LogParameter(const TChar* title, ParamID id, const TChar* units, const ParameterRecord& record);

    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE; // Hz
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE; // clamped; 0 for Hz <= 0

    OBJ_METHODS(LogParameter, MyParameter)
};

} // namespace Vst
} // namespace Steinberg
