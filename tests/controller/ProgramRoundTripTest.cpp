// A program change as a host performs it: the ProgSel change goes into the
// processor's process, the output changes come back, the host hands each to
// the controller, and the controller then shows the program.
#include "tests/params/TextHelpers.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"

#include "params/ParamId.h"
#include "sdk/hosting/ParameterChanges.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace KalviorTest;

namespace {

constexpr int32 kBlock = 64;

class ProgramRoundTrip : public BundleTest
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        host = std::make_unique<ProcessingHost>(factory());
        ASSERT_TRUE(host->ok()) << host->error;
        ASSERT_EQ(kResultOk, host->start({48000.0, 512, kSample32, true}));
    }
    void TearDown() override
    {
        host.reset();
        BundleTest::TearDown();
    }

    // One block with the given input change; the host hands every output
    // change to the controller. Returns the IDs reported, in order.
    std::vector<ParamID> processBlock(ParamID id, double value)
    {
        Hosting::ParameterChanges input;
        input.addChange(id, 0, value);
        EXPECT_EQ(kResultOk, host->process(kBlock, &input));
        std::vector<ParamID> reported;
        for (const auto& report : host->reports())
            reported.push_back(report.first);
        return reported;
    }

    // A change the host both automates in the processor and shows in the controller.
    void change(ParamID id, double value)
    {
        processBlock(id, value);
        controller()->setParamNormalized(id, value);
    }

    std::vector<ParamID> selectProgram(double progSel)
    {
        controller()->setParamNormalized(kProgSel, progSel);
        return processBlock(kProgSel, progSel);
    }

    std::string shown(ParamID id)
    {
        String128 text = {};
        controller()->getParamStringByValue(id, controller()->getParamNormalized(id), text);
        return TestText::narrow(text);
    }

    IComponent* component() const { return host->component(); }
    IEditController* controller() const { return host->controller(); }

    std::unique_ptr<ProcessingHost> host;
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

// A ProgSel value between entries selects entry trunc(value * 6), as every
// list does: the same state as that entry's own value i / 5.
TEST_F(ProgramRoundTrip, ProgramValuesBetweenEntriesSelectByTruncation)
{
    for (const auto& [between, entry] : {std::pair{0.1, 0.0}, {0.9, 1.0}, {0.35, 0.4}})
    {
        selectProgram(entry);
        const Values expected = host->values();
        selectProgram(1.0 - entry); // elsewhere, so that the next selection must change things
        selectProgram(between);
        Values values = host->values();
        EXPECT_EQ(values[kProgSel], between);
        values[kProgSel] = expected[kProgSel];
        EXPECT_EQ(values, expected) << between;
    }
}

} // namespace
