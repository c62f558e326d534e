#pragma once

// The VST 2 effect: AudioEffect owns the AEffect a host sees and turns its
// dispatcher calls into virtual operations (AudioEffectX adds those of 2.x).
// AEffEditor is the editor an effect hands the editor opcodes to.
//
// The dispatcher checks what the host passes before any operation sees it:
// a parameter or program index out of range, or a null pointer where the
// opcode writes or reads through one, answers 0 and touches nothing.

#include "vst2/Vst2Abi.h"

class AudioEffect;

class AEffEditor
{
public:
    explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
    virtual ~AEffEditor() = default;

    virtual AudioEffect* getEffect() { return effect; }
    // Points *rect at the editor's size; false when there is none.
    virtual bool getRect(ERect** rect)
    {
        *rect = nullptr;
        return false;
    }
    // parent is the host's window (an X11 window ID on this platform).
    virtual bool open(void* parent)
    {
        systemWindow = parent;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};

class AudioEffect
{
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual float getSampleRate() { return sampleRate; }
    virtual void setSampleRate(float newSampleRate) { sampleRate = newSampleRate; }
    virtual VstInt32 getBlockSize() { return blockSize; }
    virtual void setBlockSize(VstInt32 newBlockSize) { blockSize = newBlockSize; }

    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);
    // The 1.0 accumulating call: adds the effect's output to outputs.
    virtual void processAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames);

    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0.f; }
    // Sets the parameter and tells the host, which records it as automation.
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstInt32 getProgram() { return curProgram; }
    virtual void setProgram(VstInt32 program) { curProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { *name = 0; }

    virtual void getParameterLabel(VstInt32 /*index*/, char* label) { *label = 0; }
    virtual void getParameterDisplay(VstInt32 /*index*/, char* text) { *text = 0; }
    virtual void getParameterName(VstInt32 /*index*/, char* text) { *text = 0; }

    // The chunk stays owned by the effect until the next call.
    virtual VstInt32 getChunk(void** data, bool isPreset = false);
    virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false);

    virtual void setUniqueID(VstInt32 id) { cEffect.uniqueID = id; }
    virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state = true) { setFlag(Vst2Abi::effFlagsCanReplacing, state); }
    virtual void canDoubleReplacing(bool state = true) { setFlag(Vst2Abi::effFlagsCanDoubleReplacing, state); }
    virtual void programsAreChunks(bool state = true) { setFlag(Vst2Abi::effFlagsProgramChunks, state); }
    virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }

    virtual void setEditor(AEffEditor* newEditor);
    virtual AEffEditor* getEditor() { return editor; }

    AEffect* getAeffect() { return &cEffect; }
    static AudioEffect* fromAeffect(AEffect* effect);

    // Host queries.
    virtual VstInt32 getMasterVersion();
    virtual void masterIdle();

protected:
    void setFlag(VstInt32 flag, bool state);
    // Calls the host; 0 when there is no host callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.f);

    bool isParameterIndex(VstIntPtr index) const { return index >= 0 && index < numParams; }
    bool isProgramIndex(VstIntPtr index) const { return index >= 0 && index < numPrograms; }

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr; // owned
    float sampleRate = 44100.f;
    VstInt32 blockSize = 1024;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram = 0;
    AEffect cEffect;

private:
    static VstIntPtr dispatchEffClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt);
    static float getParameterClass(AEffect* e, VstInt32 index);
    static void setParameterClass(AEffect* e, VstInt32 index, float value);
    static void processClassAccumulating(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
    static void processClassReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
    static void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs, VstInt32 sampleFrames);
};
