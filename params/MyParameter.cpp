#include "params/MyParameter.h"

#include "pluginterfaces/base/fstrdefs.h"
#include "sdk/NumberText.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {

ParameterInfo makeInfo(ParamID id, ParamValue defaultNormalized, int32 stepCount, int32 flags)
{
    ParameterInfo info{};
    info.id = id;
    info.stepCount = stepCount;
    info.defaultNormalizedValue = defaultNormalized;
    info.unitId = kRootUnitId;
    info.flags = flags;
    return info;
}

const TChar kOn[] = STR16("On");
const TChar kOff[] = STR16("Off");

bool isHighSurrogate(TChar c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

MyParameter::MyParameter(const TChar* title, ParamID id, const TChar* units, ParamValue defaultNormalized,
                         int32 stepCount, int32 flags)
    : Parameter(makeInfo(id, defaultNormalized, stepCount, flags))
{
    copyText(info.title, title);
    copyText(info.units, units);
    precision = 4;
}

void MyParameter::toString(ParamValue valueNormalized, String128 string) const
{
    const ParamValue plain = toPlain(valueNormalized);
    if (info.stepCount == 1)
        copyText(string, plain > 0.5 ? kOn : kOff);
    else
        NumberText::printFloat(plain, precision, string, 128);
}

bool MyParameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
    double plain = 0.0;
    if (!NumberText::scanFloat(string, plain))
        return false;
    const ParamValue normalized = toNormalized(plain);
    // a number too large for a double must not reach the host as a value
    if (!std::isfinite(normalized))
        return false;
    valueNormalized = normalized;
    return true;
}

void MyParameter::setShortTitle(const TChar* text)
{
    copyText(info.shortTitle, text);
}

void MyParameter::copyText(String128 destination, const TChar* text)
{
    constexpr int32 kMaxCharacters = 127; // a String128 with its terminator
    int32 length = 0;
    bool cut = false;
    for (; text && text[length]; ++length)
    {
        if (length == kMaxCharacters)
        {
            cut = true;
            break;
        }
        destination[length] = text[length];
    }
    // a cut between the halves of a surrogate pair would leave invalid UTF-16
    if (cut && isHighSurrogate(destination[length - 1]))
        --length;
    destination[length] = 0;
}

} // namespace Vst
} // namespace Steinberg
