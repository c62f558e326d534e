// A program change as a host performs it: the ProgSel change goes into the
// processor's process, the output changes come back, the host hands each to
// the controller, and the controller then shows the program.
#include "tests/params/TextHelpers.h"
#include "tests/support/KalviorBundle.h"

#include "params/ParamId.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace KalviorTest;

namespace {

constexpr int32 kBlock = 64;

const char* const kProgramNames[] = {"Default",         "Bass Squeeze",    "Top and Bottom Pan",
                                     "Mono Compat Pan", "Stereo Rotation", "Stereosonic Shuffle"};

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

// What each program sets is checked on the program tables; here the
// controller must end up with exactly the processor's values.
TEST_F(ProgramRoundTrip, ControllerShowsEachProgramAfterTheOutputChanges)
{
    std::vector<ParamID> programIds;
    for (ParamID id = kLeftGain; id <= kCrossoverFreq; ++id)
        programIds.push_back(id);
    programIds.push_back(kSolo);
    IPtr<IUnitInfo> units = query<IUnitInfo>(controller());
    ASSERT_TRUE(units);

    for (int32 index = 0; index < 6; ++index)
    {
        const char* name = kProgramNames[index];
        SCOPED_TRACE(name);
        // hand-made edits the program must undo, and ones it must keep
        change(kLeftGain, 0.3);
        change(kCrossover, 1.0);
        change(kLpWidth, 0.9);
        change(kMono, 1.0);
        change(kOutputFormat, 1.0);

        EXPECT_EQ(programIds, selectProgram(index / 5.0)) << "all 23 program parameters, in ID order";
        const Bytes state = getStateBytes(component());
        uint32_t id = 0;
        double value = 0;
        for (size_t i = 0; readRecord(state, i, id, value); ++i)
            EXPECT_EQ(value, controller()->getParamNormalized(id)) << "ID " << id;
        EXPECT_EQ(name, shown(kProgSel));
        EXPECT_EQ("On", shown(kMono)) << "outside the programs";
        EXPECT_EQ("M/S", shown(kOutputFormat)) << "outside the programs";

        // the controller's program list names the same program
        String128 listed = {};
        ASSERT_EQ(kResultOk, units->getProgramName(0, index, listed));
        EXPECT_EQ(name, TestText::narrow(listed));
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

} // namespace
