#include "vst2/AudioEffect.h"

#include <cstring>

namespace abi = Vst2Abi;

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams)
{
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = abi::kEffectMagicNumber;
    cEffect.dispatcher = dispatchEffClass;
    cEffect.process = processClassAccumulating;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.float1 = 1.f; // input/output sample-rate ratio
    cEffect.object = this;
    cEffect.uniqueID = CCONST('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

AudioEffect* AudioEffect::fromAeffect(AEffect* effect)
{
    return effect ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

void AudioEffect::setFlag(VstInt32 flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~static_cast<VstIntPtr>(flag);
}

void AudioEffect::setEditor(AEffEditor* newEditor)
{
    if (newEditor == editor)
        return;
    delete editor;
    editor = newEditor;
    setFlag(abi::effFlagsHasEditor, editor != nullptr);
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstInt32 AudioEffect::getMasterVersion()
{
    const VstInt32 version = static_cast<VstInt32>(callHost(abi::audioMasterVersion));
    return version != 0 ? version : 1;
}

void AudioEffect::masterIdle()
{
    callHost(abi::audioMasterIdle);
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    callHost(abi::audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, VstInt32 /*sampleFrames*/) {}

void AudioEffect::processAccumulating(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}

VstInt32 AudioEffect::getChunk(void** data, bool /*isPreset*/)
{
    *data = nullptr;
    return 0;
}

VstInt32 AudioEffect::setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/)
{
    return 0;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode)
    {
    case abi::effOpen: open(); return 0;
    case abi::effSetProgram:
        if (isProgramIndex(value))
            setProgram(static_cast<VstInt32>(value));
        return 0;
    case abi::effGetProgram: return getProgram();
    case abi::effSetProgramName:
        if (ptr)
            setProgramName(static_cast<char*>(ptr));
        return 0;
    case abi::effGetProgramName:
        if (ptr)
            getProgramName(static_cast<char*>(ptr));
        return 0;
    case abi::effGetParamLabel:
        if (ptr && isParameterIndex(index))
            getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case abi::effGetParamDisplay:
        if (ptr && isParameterIndex(index))
            getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case abi::effGetParamName:
        if (ptr && isParameterIndex(index))
            getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case abi::effSetSampleRate:
        if (opt > 0.f)
            setSampleRate(opt);
        return 0;
    case abi::effSetBlockSize:
        if (value > 0 && value <= 0x7FFFFFFF)
            setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case abi::effMainsChanged:
        if (value)
            resume();
        else
            suspend();
        return 0;
    case abi::effEditGetRect: return ptr && editor && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case abi::effEditOpen: return editor && editor->open(ptr) ? 1 : 0;
    case abi::effEditClose:
        if (editor)
            editor->close();
        return 0;
    case abi::effEditIdle:
        if (editor)
            editor->idle();
        return 0;
    case abi::effIdentify: return abi::kIdentifyAnswer;
    case abi::effGetChunk: return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case abi::effSetChunk:
        return ptr && value > 0 && value <= 0x7FFFFFFF ? setChunk(ptr, static_cast<VstInt32>(value), index != 0) : 0;
    default: return 0;
    }
}

VstIntPtr AudioEffect::dispatchEffClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                        float opt)
{
    AudioEffect* effect = fromAeffect(e);
    if (!effect)
        return 0;
    if (opcode == abi::effClose)
    {
        effect->close();
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

float AudioEffect::getParameterClass(AEffect* e, VstInt32 index)
{
    AudioEffect* effect = fromAeffect(e);
    return effect && effect->isParameterIndex(index) ? effect->getParameter(index) : 0.f;
}

void AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value)
{
    AudioEffect* effect = fromAeffect(e);
    if (effect && effect->isParameterIndex(index))
        effect->setParameter(index, value);
}

void AudioEffect::processClassAccumulating(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* effect = fromAeffect(e))
        effect->processAccumulating(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* effect = fromAeffect(e))
        effect->processReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* effect = fromAeffect(e))
        effect->processDoubleReplacing(inputs, outputs, sampleFrames);
}
