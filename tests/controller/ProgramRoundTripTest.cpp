// A program change as a host performs it: the ProgSel change goes into the
// processor's process, the output changes come back, the host hands each to
// the controller, and the controller then shows the program.
#include "tests/params/TextHelpers.h"
#include "tests/support/KalviorBundle.h"

#include "params/ParamId.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <map>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace KalviorTest;

namespace {

constexpr int32 kBlock = 64;

// The texts of the 23 program parameters at their defaults.
std::map<ParamID, std::string> defaultProgramTexts()
{
    return {
        {kLeftGain, "0.0"},    {kRightGain, "0.0"},     {kMuteLeft, "Off"}, {kMuteRight, "Off"}, {kInvertLeft, "Off"},
        {kInvertRight, "Off"}, {kLeftPan, "-45"},       {kRightPan, "45"},  {kBalance, "0"},     {kAsymmetry, "0"},
        {kAsymmCrush, "30"},   {kHpGain, "0.0"},        {kHpWidth, "1.00"}, {kHpPan, "0"},       {kPanLaw, "4.5"},
        {kPanCrush, "30"},     {kGainTrim, "0.0"},      {kLpGain, "0.0"},   {kLpWidth, "1.00"},  {kLpPan, "0"},
        {kCrossover, "OFF"},   {kCrossoverFreq, "300"}, {kSolo, "OFF"},
    };
}

struct ProgramCase
{
    const char* name;
    double progSel; // entry i is i / 5
    std::map<ParamID, std::string> ownTexts;
};

const ProgramCase kPrograms[] = {
    {"Default", 0.0, {}},
    {"Bass Squeeze", 0.2, {{kCrossover, "LR-2"}, {kCrossoverFreq, "152"}, {kLpWidth, "0.00"}}},
    {"Top and Bottom Pan", 0.4, {{kCrossover, "LR-4"}}},
    {"Mono Compat Pan", 0.6, {{kPanCrush, "100"}, {kPanLaw, "6.0"}}},
    {"Stereo Rotation", 0.8, {{kPanCrush, "0"}, {kPanLaw, "3.0"}}},
    {"Stereosonic Shuffle", 1.0, {{kCrossover, "LR-2"}, {kCrossoverFreq, "700"}, {kHpWidth, "0.70"}}},
};

class ProgramRoundTrip : public PluginTest
{
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        ASSERT_TRUE(controller()) << "the bundle has no edit controller";
        ASSERT_EQ(kResultOk, instance->setStereoArrangement());
        ASSERT_EQ(kResultOk, instance->setupProcessing(48000.0, 512, kSample32));
        ASSERT_EQ(kResultOk, instance->setActive(true));
        instance->setProcessing(true);
        buffers.prepare(kSample32, 512);
    }

    // One block with the given input changes; every output change is handed to
    // the controller as a host does. Returns the IDs reported, in order.
    std::vector<ParamID> processBlock(Hosting::ParameterChanges& input)
    {
        Hosting::ParameterChanges output(64, 8);
        EXPECT_EQ(kResultOk, processor()->process(buffers.block(kBlock, &input, &output)));
        std::vector<ParamID> reported;
        for (int32 i = 0; i < output.getParameterCount(); ++i)
        {
            IParamValueQueue* queue = output.getParameterData(i);
            int32 offset = -1;
            ParamValue value = 0;
            const int32 last = queue->getPointCount() - 1;
            EXPECT_GE(last, 0);
            if (last < 0 || queue->getPoint(last, offset, value) != kResultOk)
                continue;
            EXPECT_EQ(0, offset);
            reported.push_back(queue->getParameterId());
            controller()->setParamNormalized(queue->getParameterId(), value);
        }
        return reported;
    }

    // A change the host both automates in the processor and shows in the controller.
    void change(ParamID id, double value)
    {
        Hosting::ParameterChanges input;
        input.addChange(id, 0, value);
        processBlock(input);
        controller()->setParamNormalized(id, value);
    }

    std::vector<ParamID> selectProgram(double progSel)
    {
        Hosting::ParameterChanges input;
        input.addChange(kProgSel, 0, progSel);
        controller()->setParamNormalized(kProgSel, progSel);
        return processBlock(input);
    }

    std::string shown(ParamID id)
    {
        String128 text = {};
        controller()->getParamStringByValue(id, controller()->getParamNormalized(id), text);
        return TestText::narrow(text);
    }

    Hosting::ProcessBuffers buffers;
};

TEST_F(ProgramRoundTrip, ControllerShowsEachProgramAfterTheOutputChanges)
{
    for (const ProgramCase& program : kPrograms)
    {
        SCOPED_TRACE(program.name);
        // hand-made edits the program must undo, and ones it must keep
        change(kLeftGain, 0.3);
        change(kCrossover, 1.0);
        change(kLpWidth, 0.9);
        change(kMono, 1.0);
        change(kOutputFormat, 1.0);

        const std::vector<ParamID> reported = selectProgram(program.progSel);

        std::vector<ParamID> programIds;
        for (ParamID id = kLeftGain; id <= kCrossoverFreq; ++id)
            programIds.push_back(id);
        programIds.push_back(kSolo);
        EXPECT_EQ(programIds, reported) << "all 23 program parameters, in ID order";

        std::map<ParamID, std::string> expected = defaultProgramTexts();
        for (const auto& own : program.ownTexts)
            expected[own.first] = own.second;
        for (const auto& entry : expected)
            EXPECT_EQ(entry.second, shown(entry.first)) << "ID " << entry.first;

        EXPECT_EQ(program.name, shown(kProgSel));
        EXPECT_EQ("On", shown(kMono)) << "outside the programs";
        EXPECT_EQ("M/S", shown(kOutputFormat)) << "outside the programs";
        EXPECT_EQ("On", shown(kScope));
        EXPECT_EQ("Off", shown(kBypass));

        // the controller's program list names the same program
        IPtr<IUnitInfo> units = query<IUnitInfo>(controller());
        ASSERT_TRUE(units);
        String128 name = {};
        const int32 index = static_cast<int32>(program.progSel * 5 + 0.5);
        ASSERT_EQ(kResultOk, units->getProgramName(0, index, name));
        EXPECT_EQ(program.name, TestText::narrow(name));
    }
}

TEST_F(ProgramRoundTrip, ProgramValuesBetweenEntriesSelectByTruncation)
{
    const struct
    {
        double progSel;
        const char* crossover;
        const char* frequency;
    } cases[] = {
        {0.1, "OFF", "300"},   // trunc(0.6) = 0: Default
        {0.9, "LR-2", "700"},  // trunc(5.4) = 5: Stereosonic Shuffle
        {0.35, "LR-4", "300"}, // trunc(2.1) = 2: Top and Bottom Pan
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.progSel);
        selectProgram(c.progSel);
        EXPECT_EQ(c.crossover, shown(kCrossover));
        EXPECT_EQ(c.frequency, shown(kCrossoverFreq));
    }
}

TEST_F(ProgramRoundTrip, StateAfterAProgramBringsAFreshControllerAlong)
{
    selectProgram(0.2);
    const Bytes state = getStateBytes(component());
    ASSERT_EQ(29u * 12u, state.size());
    ASSERT_EQ(kResultOk, instance->transferState());
    EXPECT_EQ("LR-2", shown(kCrossover));
    EXPECT_EQ("152", shown(kCrossoverFreq));
    EXPECT_EQ("Bass Squeeze", shown(kProgSel));
}

} // namespace
