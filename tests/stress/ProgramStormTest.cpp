// Ten thousand program changes and state loads interleaved with processing,
// as a user clicking through presets while a project's snapshots are
// recalled: the output stays finite, a program always sets the same values,
// a saved state always reloads exactly, and the controller, following the
// reported changes as a host forwards them, always agrees with the processor.

#include "tests/stress/StressHost.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace RobustnessTest;

namespace {

constexpr int kOperations = 10000;
constexpr int32 kMaxBlock = 256;
constexpr int kPrograms = 6;

using Reports = std::vector<std::pair<ParamID, double>>;

class ProgramStorm : public KalviorTest::BundleTest
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        ASSERT_TRUE(module);
        std::string error;
        instance = Hosting::PluginInstance::create(module->factory(), module->findClass(KalviorTest::kAudioModuleClass),
                                                   &host, error);
        ASSERT_TRUE(instance) << error;
        ASSERT_TRUE(instance->controller());
        ASSERT_TRUE(instance->connect());
        ASSERT_EQ(instance->transferState(), kResultOk);
        ASSERT_EQ(instance->setStereoArrangement(), kResultOk);
        ASSERT_EQ(instance->setupProcessing(44100.0, kMaxBlock, kSample32), kResultOk);
        ASSERT_EQ(instance->setActive(true), kResultOk);
        ASSERT_EQ(instance->setProcessing(true), kResultOk);
        buffers.prepare(kSample32, kMaxBlock);
    }

    void TearDown() override
    {
        instance.reset();
        BundleTest::TearDown();
    }

    // One block of noise with the given input changes; the reports are
    // forwarded to the controller as a host does.
    Reports process(IParameterChanges* changes)
    {
        const int32 frames = int32(random.below(kMaxBlock + 1));
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i)
                buffers.setInput(c, i, random.unit() * 2.0 - 1.0);
        reported.clear();
        EXPECT_EQ(instance->processor()->process(buffers.block(frames, changes, &reported)), kResultOk);
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i)
                if (!std::isfinite(buffers.output(c, i)))
                    ++nonFiniteSamples;

        Reports reports;
        for (int32 q = 0; q < reported.getParameterCount(); ++q)
        {
            IParamValueQueue* queue = reported.getParameterData(q);
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue && queue->getPoint(queue->getPointCount() - 1, offset, value) == kResultOk)
            {
                reports.emplace_back(queue->getParameterId(), value);
                instance->controller()->setParamNormalized(queue->getParameterId(), value);
            }
        }
        return reports;
    }

    Values processorValues()
    {
        Values values{};
        EXPECT_TRUE(decodeValues(KalviorTest::getStateBytes(instance->component()), values));
        return values;
    }

    Steinberg::Hosting::HostContext host{"Kalvior Program Storm Host"};
    std::unique_ptr<Steinberg::Hosting::PluginInstance> instance;
    Steinberg::Hosting::ProcessBuffers buffers;
    Steinberg::Hosting::ParameterChanges changes{8, 4};
    Steinberg::Hosting::ParameterChanges reported{64, 4};
    Random random{31337};
    int nonFiniteSamples = 0;
};

} // namespace

TEST_F(ProgramStorm, TenThousandProgramChangesAndStateLoadsBetweenBlocks)
{
    std::map<int, Reports> programReports; // what each program set the first time
    int programChanges = 0, stateLoads = 0, damagedLoads = 0;

    for (int op = 0; op < kOperations; ++op)
    {
        changes.clear();
        switch (random.below(4))
        {
        case 0:
        case 1: {
            // a program picked in the host's preset menu: ProgSel's value, at some point of the block
            const int program = int(random.below(kPrograms));
            const double value = double(program) / (kPrograms - 1);
            instance->controller()->setParamNormalized(kProgSel, value);
            changes.addChange(kProgSel, int32(random.below(kMaxBlock)), value);
            const Reports reports = process(&changes);
            ++programChanges;
            ASSERT_FALSE(reports.empty()) << "program " << program << " reported nothing";
            auto first = programReports.emplace(program, reports);
            ASSERT_EQ(reports, first.first->second) << "program " << program << " set other values this time";
            break;
        }
        case 2: {
            const Values state = [&] {
                Values v{};
                for (auto& x : v)
                    x = random.unit();
                return v;
            }();
            const KalviorTest::Bytes bytes = stateBytes(state);
            ASSERT_EQ(KalviorTest::setStateBytes(instance->component(), bytes), kResultOk);
            ASSERT_EQ(KalviorTest::getStateBytes(instance->component()), bytes) << "a valid state did not reload exactly";
            ASSERT_EQ(instance->transferState(), kResultOk);
            ++stateLoads;
            process(nullptr);
            break;
        }
        default: {
            // a damaged snapshot: any bytes at all
            KalviorTest::Bytes bytes(random.below(400));
            for (auto& b : bytes)
                b = static_cast<uint8_t>(random.below(256));
            ASSERT_EQ(KalviorTest::setStateBytes(instance->component(), bytes), kResultOk);
            ASSERT_EQ(instance->transferState(), kResultOk);
            ++damagedLoads;
            process(nullptr);
            break;
        }
        }

        const Values values = processorValues();
        for (uint32_t id = 0; id < kNumParams; ++id)
        {
            ASSERT_TRUE(std::isfinite(values[id]) && values[id] >= 0.0 && values[id] <= 1.0) << "ID " << id;
            ASSERT_EQ(instance->controller()->getParamNormalized(id), values[id])
                << "controller and processor disagree on ID " << id << " after operation " << op;
        }
    }

    EXPECT_EQ(nonFiniteSamples, 0);
    EXPECT_EQ(programReports.size(), size_t(kPrograms));
    EXPECT_EQ(programChanges + stateLoads + damagedLoads, kOperations);
}
