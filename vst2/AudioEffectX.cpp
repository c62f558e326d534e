#include "vst2/AudioEffectX.h"

#include <cstring>

namespace abi = Vst2Abi;

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams)
{
}

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode)
    {
    case abi::effProcessEvents: return ptr ? processEvents(ptr) : 0;
    case abi::effCanBeAutomated: return isParameterIndex(index) && canParameterBeAutomated(index) ? 1 : 0;
    case abi::effString2Parameter:
        return ptr && isParameterIndex(index) && string2parameter(index, static_cast<char*>(ptr)) ? 1 : 0;
    case abi::effGetProgramNameIndexed:
        return ptr && isProgramIndex(index) &&
                       getProgramNameIndexed(static_cast<VstInt32>(value), index, static_cast<char*>(ptr))
                   ? 1
                   : 0;
    case abi::effGetInputProperties:
        return ptr && getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case abi::effGetOutputProperties:
        return ptr && getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case abi::effGetPlugCategory: return getPlugCategory();
    case abi::effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                     static_cast<VstSpeakerArrangement*>(ptr))
                   ? 1
                   : 0;
    case abi::effGetSpeakerArrangement:
        return value && ptr &&
                       getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                             static_cast<VstSpeakerArrangement**>(ptr))
                   ? 1
                   : 0;
    case abi::effSetBypass: return setBypass(value != 0) ? 1 : 0;
    case abi::effGetEffectName: return ptr && getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case abi::effGetVendorString: return ptr && getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case abi::effGetProductString: return ptr && getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case abi::effGetVendorVersion: return getVendorVersion();
    case abi::effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case abi::effCanDo: return ptr ? canDo(static_cast<char*>(ptr)) : 0;
    case abi::effGetTailSize: return getGetTailSize();
    case abi::effIdle: idle(); return 0;
    case abi::effGetParameterProperties:
        return ptr && isParameterIndex(index) &&
                       getParameterProperties(index, static_cast<Vst2Abi::ParameterProperties*>(ptr))
                   ? 1
                   : 0;
    case abi::effGetVstVersion: return getVstVersion();
    case abi::effSetEditKnobMode: return editor && editor->setKnobMode(static_cast<VstInt32>(value)) ? 1 : 0;
    case abi::effStartProcess: return startProcess();
    case abi::effStopProcess: return stopProcess();
    case abi::effSetProcessPrecision: return setProcessPrecision(static_cast<VstInt32>(value)) ? 1 : 0;
    case abi::effGetNumMidiInputChannels: return getNumMidiInputChannels();
    case abi::effGetNumMidiOutputChannels: return getNumMidiOutputChannels();
    default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter)
{
    return reinterpret_cast<VstTimeInfo*>(callHost(abi::audioMasterGetTime, 0, filter));
}

bool AudioEffectX::ioChanged()
{
    return callHost(abi::audioMasterIOChanged) != 0;
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height)
{
    return callHost(abi::audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::updateDisplay()
{
    return callHost(abi::audioMasterUpdateDisplay) != 0;
}

bool AudioEffectX::beginEdit(VstInt32 index)
{
    return callHost(abi::audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(VstInt32 index)
{
    return callHost(abi::audioMasterEndEdit, index) != 0;
}

bool AudioEffectX::getHostString(VstInt32 opcode, char* text)
{
    if (!text)
        return false;
    // Hosts write up to abi::kVendorStringSize bytes and not always a terminator;
    // a larger buffer of our own keeps an overlong answer off the caller's.
    char buffer[256] = {};
    const bool answered = callHost(opcode, 0, 0, buffer) != 0;
    buffer[abi::kVendorStringSize - 1] = 0;
    std::memcpy(text, buffer, std::strlen(buffer) + 1);
    return answered;
}

bool AudioEffectX::getHostVendorString(char* text)
{
    return getHostString(abi::audioMasterGetVendorString, text);
}

bool AudioEffectX::getHostProductString(char* text)
{
    return getHostString(abi::audioMasterGetProductString, text);
}

VstInt32 AudioEffectX::getHostVendorVersion()
{
    return static_cast<VstInt32>(callHost(abi::audioMasterGetVendorVersion));
}

VstInt32 AudioEffectX::canHostDo(char* text)
{
    return text ? static_cast<VstInt32>(callHost(abi::audioMasterCanDo, 0, 0, text)) : 0;
}
