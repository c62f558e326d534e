#pragma once

// The VST 2.x effect: the 2.x opcodes as virtual operations, and the host's
// 2.x queries and notifications. Like AudioEffect's, the dispatcher checks
// what the host passes before any operation sees it.

#include "vst2/AudioEffect.h"

class AudioEffectX : public AudioEffect
{
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    virtual VstInt32 processEvents(void* /*events*/) { return 0; }
    virtual bool canParameterBeAutomated(VstInt32 /*index*/) { return true; }
    virtual bool string2parameter(VstInt32 /*index*/, char* /*text*/) { return false; }
    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/) { return false; }
    virtual bool getParameterProperties(VstInt32 /*index*/, Vst2Abi::ParameterProperties* /*p*/) { return false; }

    virtual bool getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual bool getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*input*/, VstSpeakerArrangement* /*output*/)
    {
        return false;
    }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** /*input*/, VstSpeakerArrangement** /*output*/)
    {
        return false;
    }
    virtual VstInt32 getPlugCategory() { return Vst2Abi::kPlugCategUnknown; }
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool setProcessPrecision(VstInt32 /*precision*/) { return false; }
    virtual VstInt32 getGetTailSize() { return 0; }
    virtual VstInt32 startProcess() { return 0; }
    virtual VstInt32 stopProcess() { return 0; }
    virtual VstInt32 getNumMidiInputChannels() { return 0; }
    virtual VstInt32 getNumMidiOutputChannels() { return 0; }
    virtual void idle() {}

    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstIntPtr vendorSpecific(VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/, float /*opt*/)
    {
        return 0;
    }
    // 1 can do, -1 cannot, 0 does not know; pointer-sized, as some answers
    // are 32-bit patterns that must reach the host unsigned.
    virtual VstIntPtr canDo(char* /*text*/) { return 0; }
    virtual VstInt32 getVstVersion() { return Vst2Abi::kVstVersionNumber; }

    // Host queries and notifications.
    virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
    virtual bool ioChanged();
    virtual bool sizeWindow(VstInt32 width, VstInt32 height);
    virtual bool updateDisplay();
    virtual bool beginEdit(VstInt32 index);
    virtual bool endEdit(VstInt32 index);
    // The host's texts, written into text (room for kVendorStringSize bytes
    // is enough; the result is always terminated within that).
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual VstInt32 getHostVendorVersion();
    virtual VstInt32 canHostDo(char* text);

    virtual void isSynth(bool state = true) { setFlag(Vst2Abi::effFlagsIsSynth, state); }
    virtual void noTail(bool state = true) { setFlag(Vst2Abi::effFlagsNoSoundInStop, state); }

private:
    bool getHostString(VstInt32 opcode, char* text);
};
