#pragma once

// The VST 2 binary interface: the structures come from fst's header; the
// opcode and flag values it leaves unknown (or marks deprecated) are the
// interface's own numbers, given here once under names of our own so nothing
// clashes with fst's enumerators.

#include "pluginterfaces/fst/fst.h"

#include <cstddef>
#include <cstdint>

namespace Vst2Abi {

// Opcodes the host sends through AEffect::dispatcher.
enum EffectOpcode : int32_t
{
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetProgramNameIndexed = 29,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effSetSpeakerArrangement = 42,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effIdle = 53,
    effGetParameterProperties = 56,
    effGetVstVersion = 58,
    effSetEditKnobMode = 61,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetProcessPrecision = 77,
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

// Opcodes the plug-in sends through the host callback.
enum HostOpcode : int32_t
{
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterIdle = 3,
    audioMasterGetTime = 7,
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterCanDo = 37,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

constexpr int32_t kVstVersionNumber = 2400;
constexpr int32_t kEffectMagicNumber = 0x56737450; // 'VstP'
constexpr int32_t kIdentifyAnswer = 0x4E764566;    // 'NvEf'

// Text limits, in characters without the terminator unless named "Size".
constexpr int32_t kMaxParamStrLen = 8;
constexpr int32_t kMaxProgNameLen = 24;
constexpr int32_t kMaxLabelLen = 64;
constexpr int32_t kMaxShortLabelLen = 8;
constexpr int32_t kMaxCategLabelLen = 24;
constexpr int32_t kEffectNameSize = 32;   // terminator included
constexpr int32_t kVendorStringSize = 64; // terminator included, also the product string

// AEffect::flags
constexpr int32_t effFlagsHasEditor = 1 << 0;
constexpr int32_t effFlagsCanReplacing = 1 << 4;
constexpr int32_t effFlagsProgramChunks = 1 << 5;
constexpr int32_t effFlagsIsSynth = 1 << 8;
constexpr int32_t effFlagsNoSoundInStop = 1 << 9;
constexpr int32_t effFlagsCanDoubleReplacing = 1 << 12;

// Processing precision (effSetProcessPrecision)
constexpr int32_t kProcessPrecision32 = 0;
constexpr int32_t kProcessPrecision64 = 1;

// Plug-in categories (effGetPlugCategory)
enum PlugCategory : int32_t
{
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
    kPlugCategAnalysis = 3,
    kPlugCategMastering = 4,
    kPlugCategSpacializer = 5,
    kPlugCategRoomFx = 6,
    kPlugCategRestoration = 8,
    kPlugCategGenerator = 11,
};

// VstPinProperties::flags
constexpr int32_t kPinIsActive = 1 << 0;
constexpr int32_t kPinIsStereo = 1 << 1;
constexpr int32_t kPinUseSpeaker = 1 << 2;

// Speaker arrangement types and speaker types
constexpr int32_t kSpeakerArrMono = 0;
constexpr int32_t kSpeakerArrStereo = 1;
constexpr int32_t kSpeakerArrUserDefined = -2;
constexpr int32_t kSpeakerLeft = 1;
constexpr int32_t kSpeakerRight = 2;

// VstTimeInfo::flags
constexpr int32_t kTransportPlaying = 1 << 1;
constexpr int32_t kTransportCycleActive = 1 << 2;
constexpr int32_t kTransportRecording = 1 << 3;
constexpr int32_t kNanosValid = 1 << 8;
constexpr int32_t kPpqPosValid = 1 << 9;
constexpr int32_t kTempoValid = 1 << 10;
constexpr int32_t kBarsValid = 1 << 11;
constexpr int32_t kCyclePosValid = 1 << 12;
constexpr int32_t kTimeSigValid = 1 << 13;

// VstParameterProperties::flags
constexpr int32_t kParameterIsSwitch = 1 << 0;
constexpr int32_t kParameterUsesIntegerMinMax = 1 << 1;
constexpr int32_t kParameterCanRamp = 1 << 6;

// effGetParameterProperties fills this (fst does not describe it).
struct ParameterProperties
{
    float stepFloat;
    float smallStepFloat;
    float largeStepFloat;
    char label[kMaxLabelLen];
    int32_t flags;
    int32_t minInteger;
    int32_t maxInteger;
    int32_t stepInteger;
    int32_t largeStepInteger;
    char shortLabel[kMaxShortLabelLen];
    int16_t displayIndex;
    int16_t category;
    int16_t numParametersInCategory;
    int16_t reserved;
    char categoryLabel[kMaxCategLabelLen];
    char future[16];
};
static_assert(sizeof(ParameterProperties) == 152, "VstParameterProperties is 152 bytes");

// A speaker arrangement with the interface's fixed room for eight speakers;
// fst declares the speaker array open-ended.
struct SpeakerArrangement8
{
    int32_t type;
    int32_t numChannels;
    VstSpeakerProperties speakers[8];
};
static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties is 112 bytes");

static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect layout");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout");

} // namespace Vst2Abi
