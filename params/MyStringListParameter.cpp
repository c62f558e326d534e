#include "params/MyStringListParameter.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

MyStringListParameter::MyStringListParameter(const TChar* title, ParamID id, const TChar* units,
                                             const ParameterRecord& record)
    : MyParameter(title, id, units, record.defaultNormalized, -1, record.flags)
{
}

MyStringListParameter::~MyStringListParameter() = default;

void MyStringListParameter::toString(ParamValue valueNormalized, String128 string) const
{
    const double index = std::trunc(toPlain(valueNormalized));
    // written so that NaN fails as well
    if (index >= 0.0 && index < static_cast<double>(entries.size()))
        copyText(string, entries[static_cast<size_t>(index)].c_str());
    else
        string[0] = 0;
}

bool MyStringListParameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
    if (!string)
        return false;
    for (size_t i = 0; i < entries.size(); ++i)
    {
        if (entries[i] == string)
        {
            valueNormalized = toNormalized(static_cast<double>(i));
            return true;
        }
    }
    return false;
}

ParamValue MyStringListParameter::toPlain(ParamValue valueNormalized) const
{
    const int32 steps = info.stepCount;
    if (steps <= 0)
        return 0.0;
    const double index = std::trunc(valueNormalized * (steps + 1));
    return index > steps ? static_cast<double>(steps) : index;
}

ParamValue MyStringListParameter::toNormalized(ParamValue plainValue) const
{
    if (info.stepCount <= 0)
        return 0.0;
    return plainValue / info.stepCount;
}

void MyStringListParameter::appendString(std::basic_string<TChar> entry)
{
    entries.push_back(std::move(entry));
    ++info.stepCount;
}

} // namespace Vst
} // namespace Steinberg
