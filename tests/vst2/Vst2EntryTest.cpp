// The VST 2 entry points and the effect's identity, as a VST 2 host finds them.

#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

constexpr int32_t kUniqueId = static_cast<int32_t>(0xFE9E97D5u);

using Vst2Entry = OpenedEffect;

// Three entry points, main the same as VSTPluginMain, each making the effect.
TEST_F(Vst2Entry, EveryEntryPointMakesTheEffect)
{
    const Module& module = Module::get();
    EXPECT_EQ(reinterpret_cast<void*>(module.main), reinterpret_cast<void*>(module.vstPluginMain));
    for (EntryPoint entry : {module.vstPluginMain, module.main, module.MAIN})
    {
        ASSERT_NE(entry, nullptr);
        AEffect* raw = entry(Host::callback);
        ASSERT_NE(raw, nullptr);
        Effect opened(raw);
        EXPECT_EQ(raw->magic, V2::kEffectMagicNumber);
        EXPECT_EQ(raw->uniqueID, kUniqueId);
        EXPECT_EQ(raw->numInputs, 2);
        EXPECT_EQ(raw->numOutputs, 2);
        const VstInt32 flags = V2::effFlagsCanReplacing | V2::effFlagsCanDoubleReplacing | V2::effFlagsProgramChunks;
        EXPECT_EQ(raw->flags & (flags | V2::effFlagsIsSynth), flags);
        EXPECT_NE(raw->processReplacing, nullptr);
        EXPECT_NE(raw->processDoubleReplacing, nullptr);
    }
}

TEST_F(Vst2Entry, RefusesHostsWithoutVersionOrCallback)
{
    HostAnswers answers;
    answers.version = 0;
    Host host(answers);
    EXPECT_EQ(Module::get().vstPluginMain(Host::callback), nullptr);
    EXPECT_EQ(Module::get().vstPluginMain(nullptr), nullptr);
    EXPECT_EQ(Module::get().MAIN(nullptr), nullptr);
}

TEST_F(Vst2Entry, IdentityTexts)
{
    for (const auto& [opcode, text] : {std::pair{V2::effGetEffectName, "Kalvior"},
                                       {V2::effGetVendorString, "Tarnwick Audio"},
                                       {V2::effGetProductString, "Kalvior"}})
    {
        VstIntPtr result = 0;
        EXPECT_EQ(effect->text(opcode, 0, 0, 0.f, &result), text);
        EXPECT_EQ(result, 1) << text;
    }
    EXPECT_EQ(effect->dispatch(V2::effGetVendorVersion), 0x01000001); // 1.0.0.1, one byte per part
    EXPECT_EQ(effect->dispatch(V2::effGetVstVersion), 2400);
    EXPECT_EQ(effect->dispatch(V2::effGetPlugCategory), V2::kPlugCategSpacializer); // "Fx|Spatial"
    EXPECT_EQ(effect->dispatch(V2::effGetNumMidiInputChannels), 0);
    EXPECT_EQ(effect->dispatch(V2::effGetTailSize), 0);
}

TEST_F(Vst2Entry, CanDoAnswers)
{
    struct Case
    {
        const char* text;
        VstIntPtr answer;
    };
    const Case cases[] = {
        {"receiveVstTimeInfo", 1},
        {"bypass", 1},
        {"BYPASS", 1},
        {"sendVstMidiEvent", -1},
        {"receiveVstEvents", -1},
        {"somethingElse", 0},
        {"", 0},
        // answered in any host (this one is not Cockos' own) and in any case
        {"hasCockosExtensions", 0xBEEF0000},
        {"HaScOcKoSeXtEnSiOnS", 0xBEEF0000},
        {"hasCockosExtensionsX", 0},
    };
    for (const Case& c : cases)
    {
        char text[64];
        std::strcpy(text, c.text);
        EXPECT_EQ(effect->dispatch(V2::effCanDo, 0, 0, text), c.answer) << c.text;
    }
    EXPECT_EQ(effect->dispatch(V2::effCanDo, 0, 0, nullptr), 0);
}

TEST_F(Vst2Entry, PinsAndSpeakerArrangementAreStereo)
{
    for (VstInt32 opcode : {V2::effGetInputProperties, V2::effGetOutputProperties})
    {
        for (VstInt32 pin = 0; pin < 2; ++pin)
        {
            VstPinProperties properties;
            std::memset(&properties, 0, sizeof(properties));
            ASSERT_EQ(effect->dispatch(opcode, pin, 0, &properties), 1);
            EXPECT_TRUE(properties.flags & V2::kPinIsActive);
            EXPECT_EQ(properties.arrangementType, V2::kSpeakerArrStereo);
            EXPECT_EQ(bool(properties.flags & V2::kPinIsStereo), pin == 0) << "stereo marks the first pin of the pair";
            EXPECT_STREQ(properties.shortLabel, pin == 0 ? "L" : "R");
        }
        VstPinProperties none;
        EXPECT_EQ(effect->dispatch(opcode, 2, 0, &none), 0);
        EXPECT_EQ(effect->dispatch(opcode, -1, 0, &none), 0);
        EXPECT_EQ(effect->dispatch(opcode, 0, 0, nullptr), 0);
    }

    VstSpeakerArrangement* input = nullptr;
    VstSpeakerArrangement* output = nullptr;
    ASSERT_EQ(effect->dispatch(V2::effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output), 1);
    ASSERT_TRUE(input && output);
    EXPECT_EQ(input->type, V2::kSpeakerArrStereo);
    EXPECT_EQ(output->numChannels, 2);

    for (const auto& [type, channels] : {std::pair{V2::kSpeakerArrStereo, 2}, {V2::kSpeakerArrMono, 1}})
    {
        V2::SpeakerArrangement8 wanted{};
        wanted.type = type;
        wanted.numChannels = channels;
        auto* arrangement = reinterpret_cast<VstSpeakerArrangement*>(&wanted);
        EXPECT_EQ(
            effect->dispatch(V2::effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(arrangement), arrangement),
            channels == 2 ? 1 : 0);
    }
}

// Opcodes that read or write through ptr answer 0 and change nothing when it
// is null; opcodes indexed by parameter or program answer 0 and write nothing
// for an index outside the lists.
TEST_F(Vst2Entry, NullPointersAndOutOfRangeIndicesAnswerZeroAndWriteNothing)
{
    const VstInt32 pointerOpcodes[] = {V2::effSetProgramName,
                                       V2::effGetProgramName,
                                       V2::effGetParamLabel,
                                       V2::effGetParamDisplay,
                                       V2::effGetParamName,
                                       V2::effEditGetRect,
                                       V2::effEditOpen,
                                       V2::effGetChunk,
                                       V2::effSetChunk,
                                       V2::effProcessEvents,
                                       V2::effString2Parameter,
                                       V2::effGetProgramNameIndexed,
                                       V2::effGetInputProperties,
                                       V2::effGetOutputProperties,
                                       V2::effGetEffectName,
                                       V2::effGetVendorString,
                                       V2::effGetProductString,
                                       V2::effCanDo,
                                       V2::effGetParameterProperties,
                                       V2::effGetSpeakerArrangement};
    for (VstInt32 opcode : pointerOpcodes)
        EXPECT_EQ(effect->dispatch(opcode, 0, 16, nullptr), 0) << "opcode " << opcode;

    const VstInt32 indexedOpcodes[] = {
        V2::effGetParamLabel,    V2::effGetParamDisplay,       V2::effGetParamName,          V2::effCanBeAutomated,
        V2::effString2Parameter, V2::effGetProgramNameIndexed, V2::effGetParameterProperties};
    for (VstInt32 opcode : indexedOpcodes)
    {
        const VstInt32 limit = opcode == V2::effGetProgramNameIndexed ? 6 : kVst2ParameterCount;
        for (VstInt32 index : {limit, limit + 1, -1, 1 << 30})
        {
            char buffer[kTextBufferSize];
            std::memset(buffer, kUntouched, sizeof(buffer));
            std::strcpy(buffer, "0.5");
            char expected[kTextBufferSize];
            std::memcpy(expected, buffer, sizeof(buffer));
            EXPECT_EQ(effect->dispatch(opcode, index, 0, buffer), 0) << "opcode " << opcode << " index " << index;
            EXPECT_EQ(std::memcmp(buffer, expected, sizeof(buffer)), 0) << "opcode " << opcode << " index " << index;
        }
    }

    // Program selection outside the list leaves the program as it was.
    effect->dispatch(V2::effSetProgram, 0, 2);
    effect->dispatch(V2::effSetProgram, 0, 6);
    effect->dispatch(V2::effSetProgram, 0, -1);
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 2);
}

} // namespace
