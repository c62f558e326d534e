#pragma once

#include "params/ParameterTable.h"

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

// A parameter of the root unit whose plain value equals its normalised value:
// the on/off switches, and the base of the other parameter classes. Its texts
// and text entry are locale-independent.
class MyParameter : public Parameter
{
public:
    MyParameter(const TChar* title, ParamID id, const TChar* units, ParamValue defaultNormalized, int32 stepCount,
                int32 flags);

    // "On"/"Off" for a switch (step count 1), else the plain value with
    // `precision` decimals.
    void toString(ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
    // Reads the first number in the text (a comma counts as the decimal point)
    // as a plain value.
    bool fromString(const TChar* string, ParamValue& valueNormalized) const SMTG_OVERRIDE;

    // Copies at most 127 characters, never half a surrogate pair.
    virtual void setShortTitle(const TChar* text);

    OBJ_METHODS(MyParameter, Parameter)

protected:
    // Writes a text cut to fit a String128; a null text writes an empty one.
    static void copyText(String128 destination, const TChar* text);
};

} // namespace Vst
} // namespace Steinberg
