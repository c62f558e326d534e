// The vendor-specific parameter queries of Cockos hosts (effVendorSpecific
// with a VST 2 opcode as its index): texts of any value, reading texts, and
// which parameters are stepped. Other hosts may ask them too.

#include "vst2/Vst2Wrapper.h"

#include "sdk/NumberText.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace abi = Vst2Abi;

bool Vst2Wrapper::isCockosQuery(VstInt32 index)
{
    return index == abi::effGetParamDisplay || index == abi::effGetParamName || index == abi::effString2Parameter ||
           index == kCockosParamRangeQuery;
}

VstIntPtr Vst2Wrapper::answerCockosQuery(VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    const auto parameter = static_cast<VstInt32>(value);
    switch (index)
    {
    case abi::effGetParamDisplay:
        return isParameterIndex(value) && ptr ? getParamDisplayForValue(parameter, static_cast<char*>(ptr), opt) : 0;
    case abi::effGetParamName: return isParameterIndex(value) ? isParamStepped(parameter) : 0;
    case abi::effString2Parameter:
        return isParameterIndex(value) && ptr ? getParamValueForText(parameter, static_cast<char*>(ptr)) : 0;
    default: return getParamRange(parameter, ptr);
    }
}

VstIntPtr Vst2Wrapper::getParamDisplayForValue(VstInt32 index, char* text, float value)
{
    if (!isParameterIndex(index) || !text)
        return 0;
    if (!std::isfinite(value))
    {
        *text = 0;
        return 0;
    }
    return writeParameterDisplay(index, clampNormalized(value), text) ? kCockosAnswer : 0;
}

VstIntPtr Vst2Wrapper::getParamValueForText(VstInt32 index, char* text)
{
    ParamValue value = 0.0;
    if (!isParameterIndex(index) || !parseParameterText(index, text, value))
        return 0;
    // "%f" of the normalised value, with '.' whatever the host's locale is.
    NumberText::printFloat(value, 6, text, abi::kMaxParamStrLen + 1);
    return kCockosAnswer;
}

VstIntPtr Vst2Wrapper::isParamStepped(VstInt32 index)
{
    ParameterInfo info;
    return getParameterInfo(index, info) && info.stepCount > 0 ? kCockosAnswer : 0;
}

VstIntPtr Vst2Wrapper::getParamRange(VstInt32 /*index*/, void* /*ptr*/)
{
    return 0; // no range information
}

} // namespace Vst
} // namespace Steinberg
