#include "controller/KVController.h"

#include "params/ScopeBlock.h"
#include "params/StateRecord.h"
#include "params/createParameters.h"
#include "params/curves.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <mutex>

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {

// Limits to 0..1; an infinity gives its end of the range, NaN gives 0.
ParamValue toUnitInterval(ParamValue v)
{
    return Curves::clampNormalized(v, v > 0.0 ? 1.0 : 0.0);
}

} // namespace

KVController::KVController()
{
    hostKnobMode = kLinearMode;
}

KVController::~KVController() = default;

tresult PLUGIN_API KVController::initialize(FUnknown* context)
{
    // A host that initialises twice without a context must not get the
    // parameters twice.
    if (parameters.getParameterCount() > 0)
        return kResultFalse;
    const tresult result = EditController::initialize(context);
    if (result != kResultOk)
        return result;

    ParameterList created = createParameters();
    for (IPtr<MyParameter>& parameter : created)
    {
        parameter->setNormalized(parameter->getInfo().defaultNormalizedValue);
        parameters.addParameter(parameter.take()); // the container takes the reference
    }
    return kResultOk;
}

tresult PLUGIN_API KVController::setComponentState(IBStream* state)
{
    if (!state)
        return kInvalidArgument;

    StateRecord::readAll(state, [this](uint32_t id, double value) { setParamNormalized(id, value); });
    return kResultOk;
}

tresult PLUGIN_API KVController::setState(IBStream* /*state*/)
{
    return kNotImplemented;
}

tresult PLUGIN_API KVController::getState(IBStream* /*state*/)
{
    return kNotImplemented;
}

tresult PLUGIN_API KVController::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
    // the container's index lookup throws for an index out of range
    if (paramIndex < 0 || paramIndex >= parameters.getParameterCount())
        return kResultFalse;
    return EditController::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API KVController::setParamNormalized(ParamID tag, ParamValue value)
{
    // NaN would slip past the parameter's 0..1 limits and stick; infinity is no value either
    if (!std::isfinite(value))
        return kInvalidArgument;
    return EditController::setParamNormalized(tag, value);
}

tresult PLUGIN_API KVController::getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized)
{
    // A switch's text is its plain value, which equals the normalised one:
    // "5" typed into a switch must reach the host as 1, not 5.
    ParamValue value = 0.0;
    const tresult result = EditController::getParamValueByString(tag, string, value);
    if (result == kResultOk)
        valueNormalized = toUnitInterval(value);
    return result;
}

ParamValue PLUGIN_API KVController::plainParamToNormalized(ParamID tag, ParamValue plainValue)
{
    // plain values beyond a switch's or a list's range map past 0..1 otherwise
    return toUnitInterval(EditController::plainParamToNormalized(tag, plainValue));
}

tresult PLUGIN_API KVController::setKnobMode(KnobMode mode)
{
    if (mode != kLinearMode)
        return kResultFalse;
    hostKnobMode = mode;
    return kResultOk;
}

tresult PLUGIN_API KVController::notify(IMessage* message)
{
    if (!message)
        return kInvalidArgument;
    const uint8* block = ScopeBlock::read(*message);
    if (!block)
        return kResultFalse;

    std::lock_guard<std::mutex> lock(scopeMutex);
    if (editorOpen)
        deliverScopeBlock(block);
    return kResultOk; // also when no editor is open to take it
}

} // namespace Vst
} // namespace Steinberg
