// Parameters and programs as a VST 2 host sees them.

#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <limits>

#include <cstring>
#include <map>
#include <vector>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

HostAnswers cockos()
{
    HostAnswers a;
    a.vendor = "Cockos"; // full titles make the index mapping visible
    return a;
}

class Vst2Parameters : public OpenedEffect
{
protected:
    Vst2Parameters() : OpenedEffect(cockos()) {}

    // Queued changes reach the processor, then its reports reach the host.
    void processAndIdle()
    {
        effect->processSilence();
        effect->dispatch(V2::effIdle);
    }
};

// The parameters without ProgSel and Bypass (the program list and
// effSetBypass stand for those), and the six programs.
TEST_F(Vst2Parameters, TableWithoutProgramChangeAndBypass)
{
    ASSERT_EQ(effect->effect->numParams, kVst2ParameterCount);
    for (int32_t index = 0; index < kVst2ParameterCount; ++index)
    {
        const KalviorTest::ParameterRow& p = vst2Row(index);
        SCOPED_TRACE(p.title);
        EXPECT_EQ(effect->text(V2::effGetParamLabel, index), p.units);
        EXPECT_EQ(effect->dispatch(V2::effCanBeAutomated, index), p.automatable() ? 1 : 0);
        EXPECT_NEAR(effect->get(index), p.defaultNormalized, 1e-7);
        // Cockos: 0xBEEF for switches and lists
        EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effGetParamName, index), p.steps > 0 ? 0xBEEF : 0);
    }
    EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effGetParamName, kVst2ParameterCount), 0);

    ASSERT_EQ(effect->effect->numPrograms, 6);
    for (VstInt32 i = 0; i < 6; ++i)
    {
        VstIntPtr result = 0;
        EXPECT_EQ(effect->text(V2::effGetProgramNameIndexed, i, 0, 0.f, &result), kProgramNames[i]);
        EXPECT_EQ(result, 1);
    }
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 0);
    EXPECT_EQ(effect->text(V2::effGetProgramName), "Default");
}

TEST_F(Vst2Parameters, String2ParameterSetsAndTellsTheHost)
{
    char text[32] = "4,5";
    EXPECT_EQ(effect->dispatch(V2::effString2Parameter, indexOf(17), 0, text), 1);
    EXPECT_FLOAT_EQ(effect->get(indexOf(17)), 0.5f);
    ASSERT_FALSE(host.automated.empty());
    EXPECT_EQ(host.automated.back().index, indexOf(17));
    EXPECT_FLOAT_EQ(host.automated.back().value, 0.5f);

    char bad[32] = "nothing";
    const float before = effect->get(indexOf(23));
    EXPECT_EQ(effect->dispatch(V2::effString2Parameter, indexOf(23), 0, bad), 0);
    EXPECT_EQ(effect->get(indexOf(23)), before);
}

TEST_F(Vst2Parameters, ParameterProperties)
{
    struct Case
    {
        uint32_t id;
        VstInt32 flags;
        VstInt32 maxInteger;
    };
    const Case cases[] = {{3, V2::kParameterCanRamp, 0},
                          {2, V2::kParameterIsSwitch, 0},
                          {23, V2::kParameterUsesIntegerMinMax, 2},
                          {27, V2::kParameterUsesIntegerMinMax, 2}};
    for (const Case& c : cases)
    {
        V2::ParameterProperties properties;
        std::memset(&properties, kUntouched, sizeof(properties));
        ASSERT_EQ(effect->dispatch(V2::effGetParameterProperties, indexOf(c.id), 0, &properties), 1);
        EXPECT_EQ(properties.flags, c.flags) << c.id;
        EXPECT_EQ(properties.maxInteger, c.maxInteger) << c.id;
        EXPECT_STREQ(properties.label, KalviorTest::kParameters[c.id].title);
        const std::string shortTitle = KalviorTest::kParameters[c.id].shortTitle;
        EXPECT_EQ(properties.shortLabel, shortTitle.substr(0, 7)); // the field holds 7 and a terminator
    }
}

// effSetProgram(i) sends ProgSel = i/5; the processor runs the program and
// reports the 23 program parameters, which reach the host as automation
// with exactly the values the processor now holds. Selecting it again undoes
// a hand change.
TEST_F(Vst2Parameters, ProgramSelectionReachesProcessorAndHost)
{
    effect->start(48000.f, 512);
    effect->dispatch(V2::effSetProgram, 0, 1); // "Bass Squeeze"
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 1);
    EXPECT_EQ(effect->text(V2::effGetProgramName), "Bass Squeeze");
    processAndIdle();
    EXPECT_EQ(effect->stored(0), 0.2);

    std::map<VstInt32, float> reported;
    for (const AutomateCall& call : host.automated)
        reported[call.index] = call.value;
    EXPECT_EQ(reported.size(), 23u);
    std::vector<float> program;
    for (int32_t index = 0; index < kVst2ParameterCount; ++index)
    {
        const KalviorTest::ParameterRow& row = vst2Row(index);
        EXPECT_EQ(reported.count(index), row.inPreset ? 1u : 0u) << row.title;
        EXPECT_EQ(effect->get(index), static_cast<float>(effect->stored(row.id))) << row.title;
        if (row.inPreset)
        {
            EXPECT_EQ(reported[index], effect->get(index)) << row.title;
        }
        program.push_back(effect->get(index));
    }

    effect->set(indexOf(11), 0.9f); // Balance by hand
    processAndIdle();
    effect->dispatch(V2::effSetProgram, 0, 1);
    processAndIdle();
    for (int32_t index = 0; index < kVst2ParameterCount; ++index)
        EXPECT_EQ(effect->get(index), program[static_cast<size_t>(index)]) << vst2Row(index).title;
}

// The processor runs a program before the other changes of its block, so a
// parameter the host changes alongside keeps the host's value; the program's
// report of that parameter is stale and must not reach the host.
TEST_F(Vst2Parameters, AChangeAlongsideAProgramKeepsTheHostsValue)
{
    effect->start(48000.f, 512);
    effect->set(indexOf(11), 0.875f);
    effect->dispatch(V2::effSetProgram, 0, 2);
    processAndIdle();
    EXPECT_EQ(effect->get(indexOf(11)), 0.875f);
    for (const AutomateCall& call : host.automated)
        EXPECT_NE(call.index, indexOf(11)) << "the program's stale Balance was reported";
    EXPECT_EQ(host.automated.size(), 22u) << "the other program parameters are reported";
    EXPECT_EQ(effect->stored(11), 0.875);
}

} // namespace

TEST_F(Vst2Parameters, ValuesThatAreNoNumbersAreIgnoredAndOthersLimited)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float cases[][2] = {{0.25f, 0.25f}, {nan, 0.25f}, {inf, 0.25f}, {-inf, 0.25f}, {1.5f, 1.0f}, {-0.5f, 0.0f}};
    for (const auto& c : cases)
    {
        effect->set(0, c[0]);
        EXPECT_EQ(effect->get(0), c[1]) << "sent " << c[0];
    }
    effect->set(-1, 0.5f); // no such parameters: nothing happens
    effect->set(kVst2ParameterCount, 0.5f);
    EXPECT_EQ(effect->get(kVst2ParameterCount), 0.0f);
    EXPECT_EQ(effect->get(-1), 0.0f);
    EXPECT_EQ(effect->get(0), 0.0f) << "the last value held stays";
}
