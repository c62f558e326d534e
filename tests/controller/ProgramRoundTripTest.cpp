// A program change as a host performs it: the ProgSel change goes into the
// processor's process and the output changes come back to the controller.
// That the host and the controller end with the processor's values after
// each program is shown through the VST 2 entry, whose wrapper forwards the
// same reports.
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"

#include "params/ParamId.h"
#include "sdk/hosting/ParameterChanges.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace KalviorTest;

namespace {

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

    void selectProgram(double progSel)
    {
        host->controller()->setParamNormalized(kProgSel, progSel);
        Hosting::ParameterChanges input;
        input.addChange(kProgSel, 0, progSel);
        EXPECT_EQ(kResultOk, host->process(64, &input));
    }

    std::unique_ptr<ProcessingHost> host;
};

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
