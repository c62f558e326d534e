// Ten thousand program changes and state loads interleaved with processing,
// as a user clicking through presets while a project's snapshots are
// recalled: the output stays finite, a program always sets the same values,
// a saved state always reloads exactly, and the controller, following the
// reported changes as a host forwards them, always agrees with the processor.

#include "tests/stress/StressHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace RobustnessTest;

namespace {

constexpr int kOperations = 10000;
constexpr int32_t kMaxBlock = 256;
constexpr int kPrograms = 6;

using Reports = std::vector<std::pair<ParamID, double>>;

using ProgramStorm = KalviorTest::BundleTest;

} // namespace

TEST_F(ProgramStorm, TenThousandProgramChangesAndStateLoadsBetweenBlocks)
{
    StressHost host(*module, kMaxBlock);
    ASSERT_TRUE(host.ready()) << host.error;
    Random random{31337};
    Hosting::ParameterChanges changes{8, 4};
    std::map<int, Reports> programReports; // what each program set the first time
    int programChanges = 0, stateLoads = 0, damagedLoads = 0;

    for (int op = 0; op < kOperations; ++op)
    {
        const auto frames = int32_t(random.below(kMaxBlock + 1));
        switch (random.below(4))
        {
        case 0:
        case 1:
        {
            // a program picked in the host's preset menu: ProgSel's value, at some point of the block
            const int program = int(random.below(kPrograms));
            const double value = double(program) / (kPrograms - 1);
            host.controller()->setParamNormalized(kProgSel, value);
            changes.clear();
            changes.addChange(kProgSel, int32(random.below(kMaxBlock)), value);
            const Reports reports = host.processNow(frames, &changes);
            ++programChanges;
            ASSERT_FALSE(reports.empty()) << "program " << program << " reported nothing";
            auto first = programReports.emplace(program, reports);
            ASSERT_EQ(reports, first.first->second) << "program " << program << " set other values this time";
            break;
        }
        case 2:
        {
            Values state{};
            for (auto& x : state)
                x = random.unit();
            const KalviorTest::Bytes bytes = stateBytes(state);
            ASSERT_EQ(host.loadState(bytes), kResultOk);
            ASSERT_EQ(KalviorTest::getStateBytes(host.component()), bytes) << "a valid state did not reload exactly";
            ++stateLoads;
            host.processNow(frames, nullptr);
            break;
        }
        default:
        {
            // a damaged snapshot: any bytes at all
            KalviorTest::Bytes bytes(random.below(400));
            for (auto& b : bytes)
                b = static_cast<uint8_t>(random.below(256));
            ASSERT_EQ(host.loadState(bytes), kResultOk);
            ++damagedLoads;
            host.processNow(frames, nullptr);
            break;
        }
        }

        const Values values = host.processorValues();
        for (uint32_t id = 0; id < kNumParams; ++id)
        {
            ASSERT_TRUE(std::isfinite(values[id]) && values[id] >= 0.0 && values[id] <= 1.0) << "ID " << id;
            ASSERT_EQ(host.controllerValue(id), values[id])
                << "controller and processor disagree on ID " << id << " after operation " << op;
        }
    }

    EXPECT_EQ(host.nonFiniteBlocks(), 0u);
    EXPECT_EQ(programReports.size(), size_t(kPrograms));
    EXPECT_EQ(programChanges + stateLoads + damagedLoads, kOperations);
}
