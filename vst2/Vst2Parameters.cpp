// The wrapper's parameters and programs as VST 2 presents them, and the
// hand-over of changes between host, processor and controller.

#include "vst2/Vst2Wrapper.h"

#include "sdk/Utf16.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Steinberg {
namespace Vst {

namespace abi = Vst2Abi;

namespace {

constexpr int32 kInputPointsPerQueue = 4;   // VST 2 changes all arrive at offset 0
constexpr int32 kOutputPointsPerQueue = 64; // room for the processor's reports
constexpr int32 kMaxInputText = 1023;       // UTF-16 units of a text the host asks us to read

} // namespace

// ---------------------------------------------------------------------------
// Set-up

void Vst2Wrapper::setupParameters()
{
    parameterMap.clear();
    slotsById.clear();
    bypassParameterId = kNoParamId;
    programParameterId = kNoParamId;
    programParameterSteps = 0;

    const int32 count = controller ? std::max(controller->getParameterCount(), 0) : 0;
    idBySlot.assign(count, kNoParamId);
    vst2IndexBySlot.assign(count, -1);
    for (int32 slot = 0; slot < count; ++slot)
    {
        ParameterInfo info{};
        if (controller->getParameterInfo(slot, info) != kResultOk)
            continue;
        idBySlot[slot] = info.id;
        slotsById.emplace_back(info.id, slot);

        if (info.flags & ParameterInfo::kIsBypass)
        {
            if (bypassParameterId == kNoParamId)
                bypassParameterId = info.id;
        }
        else if (info.flags & ParameterInfo::kIsProgramChange)
        {
            if (programParameterId == kNoParamId && info.unitId == kRootUnitId)
            {
                programParameterId = info.id;
                programParameterSteps = info.stepCount;
            }
        }
        else if (!(info.flags & ParameterInfo::kIsReadOnly))
        {
            vst2IndexBySlot[slot] = static_cast<int32>(parameterMap.size());
            parameterMap.push_back(ParameterMapEntry{info.id, slot});
        }
    }
    std::sort(slotsById.begin(), slotsById.end());
    numParams = cEffect.numParams = static_cast<VstInt32>(parameterMap.size());

    toProcessor.resize(count);
    toController.resize(count);
    fromProcessor.resize(count);
    currentValues.reset(count > 0 ? new std::atomic<double>[count] : nullptr);
    for (int32 slot = 0; slot < count; ++slot)
        currentValues[slot].store(idBySlot[slot] != kNoParamId ? controller->getParamNormalized(idBySlot[slot]) : 0.0);

    inputChanges.setCapacity(count, kInputPointsPerQueue);
    outputChanges.setCapacity(count, kOutputPointsPerQueue);
}

void Vst2Wrapper::setupPrograms()
{
    numPrograms = 0;
    programListId = kNoProgramListId;
    if (unitInfo)
    {
        ProgramListID rootList = kNoProgramListId;
        for (int32 i = 0; i < unitInfo->getUnitCount(); ++i)
        {
            UnitInfo unit{};
            if (unitInfo->getUnitInfo(i, unit) == kResultOk && unit.id == kRootUnitId)
            {
                rootList = unit.programListId;
                break;
            }
        }
        for (int32 i = 0; rootList != kNoProgramListId && i < unitInfo->getProgramListCount(); ++i)
        {
            ProgramListInfo list{};
            if (unitInfo->getProgramListInfo(i, list) == kResultOk && list.id == rootList)
            {
                programListId = rootList;
                numPrograms = std::max(list.programCount, 0);
                break;
            }
        }
    }
    // Without a program list the program change parameter's steps are the programs.
    if (programListId == kNoProgramListId && programParameterId != kNoParamId && programParameterSteps > 0)
        numPrograms = programParameterSteps + 1;
    if (programParameterId == kNoParamId)
        numPrograms = 0; // nothing could select them
    cEffect.numPrograms = numPrograms;

    const int32 slot = slotOf(programParameterId);
    curProgram = slot >= 0 ? programOfValue(currentValues[slot].load()) : 0;
}

// ---------------------------------------------------------------------------
// Parameters

int32 Vst2Wrapper::slotOf(ParamID id) const
{
    const auto it =
        std::lower_bound(slotsById.begin(), slotsById.end(), std::make_pair(id, std::numeric_limits<int32>::min()));
    return it != slotsById.end() && it->first == id ? it->second : -1;
}

int32 Vst2Wrapper::programOfValue(double normalized) const
{
    const int32 steps = programParameterSteps > 0 ? programParameterSteps : numPrograms - 1;
    if (steps <= 0 || numPrograms <= 0)
        return 0;
    const auto program = static_cast<int32>(std::floor(clampNormalized(normalized) * steps + 0.5));
    return std::min(program, numPrograms - 1);
}

void Vst2Wrapper::queueChange(int32 slot, double value)
{
    if (slot < 0)
        return;
    toProcessor.push(slot, value);
    toController.push(slot, value);
}

bool Vst2Wrapper::getParameterInfo(VstInt32 index, ParameterInfo& info)
{
    if (!controller || index < 0 || index >= static_cast<VstInt32>(parameterMap.size()))
        return false;
    info = ParameterInfo{};
    return controller->getParameterInfo(parameterMap[index].vst3Index, info) == kResultOk;
}

double Vst2Wrapper::currentValue(VstInt32 index) const
{
    if (index < 0 || index >= static_cast<VstInt32>(parameterMap.size()))
        return 0.0;
    const int32 slot = parameterMap[index].vst3Index;
    double pending = 0.0;
    if (toProcessor.pendingValue(slot, pending))
        return pending;
    return currentValues[slot].load(std::memory_order_relaxed);
}

void Vst2Wrapper::setParameter(VstInt32 index, float value)
{
    if (index < 0 || index >= static_cast<VstInt32>(parameterMap.size()) || !std::isfinite(value))
        return;
    queueChange(parameterMap[index].vst3Index, clampNormalized(value));
}

float Vst2Wrapper::getParameter(VstInt32 index)
{
    return static_cast<float>(currentValue(index));
}

// An unknown index gets an empty text: copying null writes just the terminator.
void Vst2Wrapper::getParameterLabel(VstInt32 index, char* label)
{
    ParameterInfo info;
    utf16ToUtf8(getParameterInfo(index, info) ? info.units : nullptr, label, abi::kMaxParamStrLen);
}

void Vst2Wrapper::getParameterDisplay(VstInt32 index, char* text)
{
    writeParameterDisplay(index, currentValue(index), text);
}

bool Vst2Wrapper::writeParameterDisplay(VstInt32 index, ParamValue normalized, char* text)
{
    ParameterInfo info;
    String128 display{};
    const bool shown =
        getParameterInfo(index, info) && controller->getParamStringByValue(info.id, normalized, display) == kResultOk;
    utf16ToUtf8(shown ? display : nullptr, text, abi::kMaxParamStrLen);
    return shown;
}

void Vst2Wrapper::getParameterName(VstInt32 index, char* text)
{
    ParameterInfo info;
    const char16* name = nullptr;
    if (getParameterInfo(index, info))
        name = utf8Length(info.title) > maxNameLength ? info.shortTitle : info.title;
    utf16ToUtf8(name, text, maxNameLength);
}

bool Vst2Wrapper::canParameterBeAutomated(VstInt32 index)
{
    ParameterInfo info;
    return getParameterInfo(index, info) && (info.flags & ParameterInfo::kCanAutomate);
}

bool Vst2Wrapper::parseParameterText(VstInt32 index, const char* text, ParamValue& normalized)
{
    ParameterInfo info;
    if (!text || !getParameterInfo(index, info))
        return false;
    char16 utf16[kMaxInputText + 1];
    utf8ToUtf16(text, utf16, kMaxInputText + 1);
    ParamValue value = 0.0;
    if (controller->getParamValueByString(info.id, utf16, value) != kResultOk || !std::isfinite(value))
        return false;
    normalized = clampNormalized(value);
    return true;
}

bool Vst2Wrapper::string2parameter(VstInt32 index, char* text)
{
    ParamValue value = 0.0;
    if (!parseParameterText(index, text, value))
        return false;
    setParameterAutomated(index, static_cast<float>(value));
    return true;
}

bool Vst2Wrapper::getParameterProperties(VstInt32 index, abi::ParameterProperties* properties)
{
    ParameterInfo info;
    if (!properties || !getParameterInfo(index, info))
        return false;
    std::memset(properties, 0, sizeof(*properties));
    utf16ToUtf8(info.title, properties->label, abi::kMaxLabelLen - 1);
    utf16ToUtf8(info.shortTitle, properties->shortLabel, abi::kMaxShortLabelLen - 1);
    if (info.stepCount == 0)
        properties->flags = abi::kParameterCanRamp;
    else if (info.stepCount == 1)
        properties->flags = abi::kParameterIsSwitch;
    else
    {
        properties->flags = abi::kParameterUsesIntegerMinMax;
        properties->minInteger = 0;
        properties->maxInteger = info.stepCount;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Programs

void Vst2Wrapper::setProgram(VstInt32 program)
{
    const int32 slot = slotOf(programParameterId);
    if (slot < 0 || program < 0 || program >= numPrograms)
        return;
    const int32 steps = programParameterSteps > 0 ? programParameterSteps : numPrograms - 1;
    curProgram = program;
    queueChange(slot, steps > 0 ? clampNormalized(static_cast<double>(program) / steps) : 0.0);
}

void Vst2Wrapper::getProgramName(char* name)
{
    if (!getProgramNameIndexed(0, curProgram, name))
        *name = 0;
}

bool Vst2Wrapper::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text)
{
    if (index < 0 || index >= numPrograms)
        return false;
    String128 name{};
    bool found = false;
    if (unitInfo && programListId != kNoProgramListId)
        found = unitInfo->getProgramName(programListId, index, name) == kResultOk;
    else if (controller && programParameterId != kNoParamId && programParameterSteps > 0)
        found = controller->getParamStringByValue(
                    programParameterId, static_cast<double>(index) / programParameterSteps, name) == kResultOk;
    utf16ToUtf8(found ? name : nullptr, text, abi::kMaxProgNameLen);
    return found;
}

// ---------------------------------------------------------------------------
// Controller and host hand-over (host's editor/main thread)

void PLUGIN_API Vst2Wrapper::onTimer()
{
    if (!controller)
        return;
    toController.drain([this](int32 slot, double value) { controller->setParamNormalized(idBySlot[slot], value); });

    bool programChanged = false;
    fromProcessor.drain(
        [&](int32 slot, double value)
        {
            const ParamID id = idBySlot[slot];
            controller->setParamNormalized(id, value);
            if (vst2IndexBySlot[slot] >= 0)
                callHost(abi::audioMasterAutomate, vst2IndexBySlot[slot], 0, nullptr, static_cast<float>(value));
            if (id == programParameterId)
            {
                curProgram = programOfValue(value);
                programChanged = true;
            }
        });
    if (programChanged)
        updateDisplay();
}

void Vst2Wrapper::readValuesFromController()
{
    if (!controller)
        return;
    onTimer();
    for (size_t slot = 0; slot < idBySlot.size(); ++slot)
        if (idBySlot[slot] != kNoParamId)
            currentValues[slot].store(controller->getParamNormalized(idBySlot[slot]));
    const int32 programSlot = slotOf(programParameterId);
    if (programSlot >= 0)
        curProgram = programOfValue(currentValues[programSlot].load());
}

void Vst2Wrapper::idle()
{
    onTimer();
    runLoop.pump();
}

VstIntPtr Vst2Wrapper::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode == abi::effEditIdle || opcode == abi::effEditOpen)
        onTimer(); // the editor shows the values the host and the processor last set
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

tresult Vst2Wrapper::notifyHostEdit(ParamID id, VstInt32 opcode)
{
    const int32 slot = slotOf(id);
    if (slot < 0)
        return kInvalidArgument;
    if (vst2IndexBySlot[slot] >= 0)
        callHost(opcode, vst2IndexBySlot[slot]);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::beginEdit(ParamID id)
{
    return notifyHostEdit(id, abi::audioMasterBeginEdit);
}

tresult PLUGIN_API Vst2Wrapper::performEdit(ParamID id, ParamValue valueNormalized)
{
    const int32 slot = slotOf(id);
    if (slot < 0 || !std::isfinite(valueNormalized))
        return kInvalidArgument;
    const double value = clampNormalized(valueNormalized);
    toProcessor.push(slot, value);
    if (vst2IndexBySlot[slot] >= 0)
        callHost(abi::audioMasterAutomate, vst2IndexBySlot[slot], 0, nullptr, static_cast<float>(value));
    if (id == programParameterId)
    {
        curProgram = programOfValue(value);
        updateDisplay();
    }
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::endEdit(ParamID id)
{
    return notifyHostEdit(id, abi::audioMasterEndEdit);
}

tresult PLUGIN_API Vst2Wrapper::restartComponent(int32 flags)
{
    tresult result = kResultFalse;
    if (flags & (kParamValuesChanged | kParamTitlesChanged))
    {
        readValuesFromController();
        updateDisplay();
        result = kResultOk;
    }
    if (flags & kLatencyChanged)
    {
        setInitialDelay(static_cast<VstInt32>(std::min<uint32>(processor->getLatencySamples(), 0x7FFFFFFF)));
        ioChanged();
        result = kResultOk;
    }
    if (flags & kIoChanged)
    {
        ioChanged();
        result = kResultOk;
    }
    return result;
}

tresult PLUGIN_API Vst2Wrapper::notifyUnitSelection(UnitID /*unitId*/)
{
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::notifyProgramListChange(ProgramListID /*listId*/, int32 /*programIndex*/)
{
    updateDisplay();
    return kResultOk;
}

bool Vst2Wrapper::setBypass(bool onOff)
{
    const int32 slot = slotOf(bypassParameterId);
    if (slot < 0)
        return false;
    queueChange(slot, onOff ? 1.0 : 0.0);
    return true;
}

} // namespace Vst
} // namespace Steinberg
