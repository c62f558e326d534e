#pragma once

#include "params/MyParameter.h"

#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {

// A parameter that selects one of n text entries: normalised v picks entry
// trunc(v * n), capped at n - 1, and entry i reports normalised i / (n - 1).
// Answers the run-time type query as MyParameter.
class MyStringListParameter : public MyParameter
{
public:
    // Default and flags as the record says; no entries yet: step count -1.
    MyStringListParameter(const TChar* title, ParamID id, const TChar* units, const ParameterRecord& record);
    ~MyStringListParameter() override;

    // The entry's text, or an empty text when the index is not an entry's.
    void toString(ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
    // Whole, case-sensitive match against the entries, first match wins.
    bool fromString(const TChar* string, ParamValue& valueNormalized) const SMTG_OVERRIDE;
    ParamValue toPlain(ParamValue valueNormalized) const SMTG_OVERRIDE; // entry index
    ParamValue toNormalized(ParamValue plainValue) const SMTG_OVERRIDE; // index / step count

    // Appends an entry and raises the step count by one: n entries, n - 1 steps.
    virtual void appendString(std::basic_string<TChar> entry);

    const std::vector<std::basic_string<TChar>>& getEntries() const { return entries; }

private:
    std::vector<std::basic_string<TChar>> entries;
};

} // namespace Vst
} // namespace Steinberg
