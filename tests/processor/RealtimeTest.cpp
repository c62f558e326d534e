// The audio thread allocates nothing and takes no lock but the scope hand-off.
//
// The counting allocator and lock functions (tests/support/RealtimeCounting)
// count only on the calling thread and only inside process(), so the host
// harness and the scope worker thread do what they like.

#include "params/ParamId.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"
#include "tests/support/RawChanges.h"
#include "tests/support/RealtimeCounting.h"
#include "tests/support/ScopeListener.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KalviorTest::Point;
using KalviorTest::RawChanges;

namespace {

// Host-side input for a block, built before counting starts.
struct BlockInput
{
    std::shared_ptr<RawChanges> changes;
    int32 frames = 512;
    Hosting::ParameterChanges* reports = nullptr;
    int32 buses = 1; // input and output buses alike
    uint64 inputSilence = 0;
};

struct Scenario
{
    std::string name;
    KalviorTest::ValueList settings; // set through the state before processing
    std::vector<BlockInput> blocks;  // what the host sends
    double sampleRate = 44100.0;
    int32 maxBlock = 512;
    int32 bufferFrames = 0;
};

std::shared_ptr<RawChanges> changes(std::initializer_list<std::pair<uint32_t, std::vector<Point>>> queues)
{
    auto result = std::make_shared<RawChanges>();
    for (const auto& [id, points] : queues)
        result->add(id, points);
    return result;
}

// Points on every automatable parameter: many per block, repeated offsets
// (jumps), offsets past the block and going backwards.
std::shared_ptr<RawChanges> denseAutomation(uint32_t seed)
{
    auto result = std::make_shared<RawChanges>();
    KalviorTest::Noise noise(seed);
    auto next = [&]
    {
        return static_cast<uint32_t>((noise.next() + 1.0) * 1e6);
    };
    for (const KalviorTest::ParameterRow& row : KalviorTest::kParameters)
    {
        if (!row.automatable())
            continue;
        std::vector<Point> points;
        int32 offset = 0;
        for (int p = 0; p < 100; ++p)
        {
            offset += static_cast<int32>(next() % 8); // often 0: several points at one offset
            points.push_back({offset, (next() % 1000) / 999.0});
        }
        points.push_back({700, 0.4});
        points.push_back({3, 0.6});
        result->add(row.id, points);
    }
    return result;
}

std::vector<Scenario> scenarios()
{
    static Hosting::ParameterChanges reports(64, 4), smallReports(3, 1);
    const std::vector<BlockInput> plain(4);
    std::vector<Scenario> list = {
        {"steady, crossover off", {}, plain},
        {"crossover LR-2", {{kCrossover, 0.5}}, plain},
        {"crossover LR-4", {{kCrossover, 1.0}}, plain},
        {"solo high band", {{kCrossover, 1.0}, {kSolo, 0.5}}, plain},
        {"solo low band", {{kCrossover, 0.5}, {kSolo, 1.0}}, plain},
        {"mid/side in and out", {{kInputFormat, 1.0}, {kOutputFormat, 1.0}, {kHpWidth, 0.9}}, plain},
        {"automation with many points",
         {{kCrossover, 1.0}},
         {{denseAutomation(1)}, {denseAutomation(2)}, {denseAutomation(3)}, {denseAutomation(4)}}},
        {"scope handing blocks to the worker", {{kScope, 1.0}}, std::vector<BlockInput>(12), 5120.0},
        {"silent input, calls without audio and empty blocks",
         {{kCrossover, 1.0}},
         {{nullptr, 512, nullptr, 1, 3},
          {changes({{kLeftGain, {{0, 0.9}}}}), 512, nullptr, 0},
          {changes({{kBalance, {{0, 0.2}}}}), 0}}},
    };
    for (double in : {0.0, 1.0})
        for (double out : {0.0, 1.0})
            list.push_back({"bypass " + std::to_string(int(in)) + std::to_string(int(out)),
                            {{kBypass, 1.0}, {kInputFormat, in}, {kOutputFormat, out}},
                            plain});
    std::vector<Point> glide;
    for (int32 i = 0; i < 512; i += 32)
        glide.push_back({i, (i % 96) / 96.0});
    list.push_back(
        {"crossover glide and switches",
         {{kCrossover, 1.0}},
         {{changes({{kCrossoverFreq, glide}, {kCrossover, {{0, 0.5}}}})},
          {changes({{kCrossover, {{0, 1.0}}}, {kMono, {{10, 1.0}}}, {kInputFormat, {{0, 1.0}}}, {kSolo, {{0, 0.9}}}})},
          {},
          {}}});
    // Reports into a roomy list, none, a list too small, then waiting ones.
    Scenario programs{"program changes", {}, {}};
    for (double program : {0.2, 0.4, 0.6, 1.0})
        programs.blocks.push_back({changes({{kProgSel, {{0, program}}}}), 512,
                                   program == 0.4   ? nullptr
                                   : program == 0.6 ? &smallReports
                                                    : &reports});
    programs.blocks.resize(6, BlockInput{nullptr, 512, &reports});
    list.push_back(programs);
    std::vector<Point> dense;
    for (int32 i = 0; i < 4096; i += 2)
        dense.push_back({i, (i % 10) / 10.0});
    list.push_back({"blocks longer than the setup promised",
                    {{kCrossover, 1.0}},
                    {{changes({{kHpPan, dense}, {kLeftGain, {{9000, 0.3}}}}), 4096}},
                    44100.0,
                    64,
                    4096});
    return list;
}

class RealtimeTest : public KalviorTest::BundleTest, public ::testing::WithParamInterface<int32>
{};

using RealtimeCountingInTheBundle = KalviorTest::BundleTest;

INSTANTIATE_TEST_SUITE_P(SampleSizes, RealtimeTest, ::testing::Values(kSample32, kSample64),
                         [](const auto& info) { return info.param == kSample64 ? "Bits64" : "Bits32"; });

} // namespace

TEST_P(RealtimeTest, ProcessNeverAllocatesAndLocksOnlyToHandOffScopeBlocks)
{
    for (Scenario& scenario : scenarios())
    {
        SCOPED_TRACE(scenario.name);
        KalviorTest::ProcessingHost host(factory(), false);
        ASSERT_TRUE(host.ok()) << host.error;
        ASSERT_EQ(host.start({scenario.sampleRate, scenario.maxBlock, GetParam(), true, scenario.bufferFrames}),
                  kResultOk);
        KalviorTest::ScopeListener peer;
        IPtr<IConnectionPoint> connection = KalviorTest::query<IConnectionPoint>(host.component());
        ASSERT_TRUE(connection);
        connection->connect(&peer);
        host.setValues(scenario.settings);
        const bool scopeOn = [&]
        {
            for (const auto& [id, value] : scenario.settings)
                if (id == kScope)
                    return value >= 0.5;
            return true; // the default
        }();

        std::vector<BlockInput>& blocks = scenario.blocks;
        const int32 bufferFrames = host.buffers.maxSamples();
        long framesFed = 0;
        long blocksCompleted = 0;
        long locksSeen = 0;
        for (size_t b = 0; b < blocks.size(); ++b)
        {
            BlockInput& block = blocks[b];
            KalviorTest::Noise noise(static_cast<uint32_t>(b + 1));
            host.fillNoise(std::min(block.frames, bufferFrames), noise);
            if (block.reports)
                block.reports->clear();
            ProcessData& data = host.buffers.block(block.frames, block.changes.get(), block.reports);
            data.numInputs = data.numOutputs = block.buses;
            host.buffers.inputBus.silenceFlags = block.inputSilence;

            const RealtimeCounting::Counts count = RealtimeCounting::count([&] { host.processor()->process(data); });
            EXPECT_EQ(count.allocations, 0) << "block " << b;
            EXPECT_EQ(count.releases, 0) << "block " << b;

            // Scope blocks complete every 512 * decimation fed frames (decimation 8 at
            // 44.1 kHz, 1 at 5120 Hz); each hand-off may lock twice: the scope's
            // mutex and the condition variable's own. A block the busy worker
            // refused is offered once more at the start of the next fed call.
            const bool fed = scopeOn && block.buses > 0 && block.inputSilence != 3;
            const long perBlock = 512L * static_cast<long>(std::trunc(scenario.sampleRate / 5120.0));
            const long before = blocksCompleted;
            if (fed)
                framesFed += std::min(block.frames, bufferFrames);
            blocksCompleted = framesFed / perBlock;
            if (RealtimeCounting::kCountsLocks)
            {
                const long retried = fed && before > 0 ? 1 : 0;
                EXPECT_LE(count.locks, 2 * (blocksCompleted - before + retried)) << "block " << b;
            }
            locksSeen += count.locks;
        }
        if (RealtimeCounting::kCountsLocks && blocksCompleted > 0)
        {
            EXPECT_GT(locksSeen, 0) << "the hand-off lock went uncounted: the counters do not see the bundle";
        }
        connection->disconnect(&peer);
    }
}

TEST_F(RealtimeCountingInTheBundle, TheCountersSeeTheBundlesAllocations)
{
    KalviorTest::ProcessingHost host(factory(), false);
    ASSERT_TRUE(host.ok()) << host.error;
    ASSERT_EQ(host.start({}), kResultOk);
    // A larger block size makes the crossover allocate bigger band buffers.
    const auto grown = RealtimeCounting::count([&] { host.instance->setupProcessing(44100.0, 1 << 16, kSample64); });
    EXPECT_GT(grown.allocations, 0);
}
