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

TEST_F(Vst2Parameters, SetThenGetAndDisplay)
{
    struct Case
    {
        uint32_t id;
        float value;
        const char* display;
    };
    const Case cases[] = {{11, 1.f, "45"}, {3, 0.5f, "-12.0"}, {23, 1.f, "LR-4"}, {28, 1.f, "On"}, {2, 0.f, "Off"}};
    for (const Case& c : cases)
    {
        effect->set(indexOf(c.id), c.value);
        EXPECT_EQ(effect->get(indexOf(c.id)), c.value) << c.id;
        EXPECT_EQ(effect->text(V2::effGetParamDisplay, indexOf(c.id)), c.display) << c.id;
    }
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
// reports the 23 program parameters, which reach the host as automation.
TEST_F(Vst2Parameters, ProgramSelectionReachesProcessorAndHost)
{
    effect->start(48000.f, 512);
    effect->dispatch(V2::effSetProgram, 0, 1); // "Bass Squeeze"
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 1);
    EXPECT_EQ(effect->text(V2::effGetProgramName), "Bass Squeeze");
    processAndIdle();

    std::map<VstInt32, float> reported;
    for (const AutomateCall& call : host.automated)
        reported[call.index] = call.value;
    EXPECT_EQ(reported.size(), 23u);
    for (int32_t index = 0; index < kVst2ParameterCount; ++index)
    {
        const uint32_t id = vst2Row(index).id;
        const bool inProgram = (id >= 3 && id <= 24) || id == 27;
        EXPECT_EQ(reported.count(index), inProgram ? 1u : 0u) << id;
        float expected = static_cast<float>(vst2Row(index).defaultNormalized);
        if (id == 23)
            expected = 0.5f; // "LR-2"
        else if (id == 24)
            expected = 0.2f;
        else if (id == 21)
            expected = 0.f;
        if (inProgram)
        {
            EXPECT_FLOAT_EQ(reported[index], expected) << id;
        }
        EXPECT_FLOAT_EQ(effect->get(index), expected) << id;
    }
}

TEST_F(Vst2Parameters, ProgramSelectionResetsHandChanges)
{
    effect->start(48000.f, 512);
    effect->dispatch(V2::effSetProgram, 0, 3);
    processAndIdle();
    effect->set(indexOf(11), 0.9f); // Balance by hand
    processAndIdle();
    effect->dispatch(V2::effSetProgram, 0, 3); // the same program again
    processAndIdle();
    EXPECT_FLOAT_EQ(effect->get(indexOf(11)), 0.5f);
    EXPECT_FLOAT_EQ(effect->get(indexOf(18)), 1.f); // Pan Crush of "Mono Compat Pan"
    EXPECT_FLOAT_EQ(effect->get(indexOf(17)), 1.f); // Pan Law
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
