// The processor's audio thread through the built bundle: calls without audio,
// silent input, program changes and their reports, the host's floating-point
// mode. The chain itself is tested directly in the dsp tests.

#include "tests/processor/ChainHost.h"

#include <xmmintrin.h>

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace ChainTestSupport;
using ChainReference::apply;
using ChainReference::Matrix;
using ChainReference::Values;
using ChainReference::with;

namespace {

class ChainTest : public KalviorTest::BundleTest
{
protected:
    std::unique_ptr<ChainHost> makeHost(const HostSetup& setup)
    {
        std::string error;
        auto host = std::make_unique<ChainHost>(*module, setup, error);
        EXPECT_TRUE(error.empty()) << error;
        return host;
    }

    // Every frame multiplied by the matrix m.
    static void expectSteady(const ChainHost& host, int32 frames, const Matrix& m)
    {
        const double tol = host.setup.sampleSize == kSample64 ? 1e-12 : 1e-4; // 32-bit rounds to single precision
        for (int32 i = 0; i < frames; ++i)
        {
            long double l = 0, r = 0;
            apply(m, host.in(0, i), host.in(1, i), l, r);
            ASSERT_NEAR(host.out(0, i), static_cast<double>(l), tol) << "frame " << i;
            ASSERT_NEAR(host.out(1, i), static_cast<double>(r), tol) << "frame " << i;
        }
    }
};

class ChainBySampleSize : public ChainTest, public ::testing::WithParamInterface<int32>
{
protected:
    std::unique_ptr<ChainHost> makeHost(int32 maxBlock = 512)
    {
        HostSetup setup;
        setup.sampleSize = GetParam();
        setup.maxBlock = maxBlock;
        return ChainTest::makeHost(setup);
    }
};

INSTANTIATE_TEST_SUITE_P(SampleSizes, ChainBySampleSize, ::testing::Values(kSample32, kSample64),
                         [](const auto& info) { return info.param == kSample64 ? "Bits64" : "Bits32"; });

} // namespace

// ---------------------------------------------------------------------------
// Calls without audio

TEST_P(ChainBySampleSize, CallsWithoutAudioMoveParametersOnly)
{
    struct Case
    {
        const char* name;
        int32 frames, numInputs, numOutputs;
    };
    for (const Case& c : {Case{"no buses", 512, 0, 0}, Case{"no input bus", 512, 0, 1},
                          Case{"no output bus", 512, 1, 0}, Case{"zero frames", 0, 1, 1}})
    {
        SCOPED_TRACE(c.name);
        auto host = makeHost();
        host->fillNoise(512, 11);
        host->fillOutput(512, 0.125);
        RawChanges changes;
        changes.add(kLeftGain, {{0, 1.0}}).add(kMono, {{0, 1.0}});
        ProcessData& data = host->buffers.block(c.frames, &changes);
        data.numInputs = c.numInputs;
        data.numOutputs = c.numOutputs;
        host->buffers.outputBus.silenceFlags = 3; // as a host's struct may still hold them
        ASSERT_EQ(host->processor()->process(data), kResultOk);
        if (c.numInputs == 1 && c.numOutputs == 1)
        {
            // a block of 0 frames of a non-silent input is no silence either
            EXPECT_EQ(host->buffers.outputBus.silenceFlags, 0u);
        }
        for (int32 i = 0; i < 512; ++i)
            ASSERT_EQ(host->out(0, i), 0.125) << "audio was touched at frame " << i;

        const Values v = host->values();
        EXPECT_EQ(v[kLeftGain], 1.0);
        EXPECT_EQ(v[kMono], 1.0);
        // The matrices were rebuilt: the next block is steady at the new settings.
        host->process(512);
        expectSteady(*host, 512,
                     ChainReference::high(with(ChainReference::defaults(), {{kLeftGain, 1.0}, {kMono, 1.0}})));
    }
}

TEST_P(ChainBySampleSize, SilentInputGivesSilentFlaggedOutput)
{
    auto host = makeHost();
    host->setValues({{kLeftGain, 1.0}, {kCrossover, 1.0}});
    host->fillNoise(512, 12);
    host->fillOutput(512, 0.5);
    host->buffers.inputBus.silenceFlags = 3;
    host->process(512);
    EXPECT_EQ(host->buffers.outputBus.silenceFlags, 3u);
    for (int32 i = 0; i < 512; ++i)
        ASSERT_TRUE(host->out(0, i) == 0.0 && host->out(1, i) == 0.0) << "frame " << i;

    // One silent channel is not a silent input.
    host->buffers.inputBus.silenceFlags = 1;
    host->setValues({{kCrossover, 0.0}});
    host->process(512);
    EXPECT_EQ(host->buffers.outputBus.silenceFlags, 0u);
    expectSteady(*host, 512, ChainReference::high(with(ChainReference::defaults(), {{kLeftGain, 1.0}})));
}

// ---------------------------------------------------------------------------
// Output changes

TEST_P(ChainBySampleSize, ProgramChangeReportsWaitForAnOutputList)
{
    auto host = makeHost();
    RawChanges programme;
    programme.add(kProgSel, {{0, 0.2}}); // "Bass Squeeze"
    host->fillNoise(512, 18);
    host->process(512, &programme, nullptr);

    Hosting::ParameterChanges reports(64, 4);
    host->process(512, nullptr, &reports);
    ASSERT_EQ(reports.getParameterCount(), 23);
    uint32_t previousId = 0;
    for (int32 q = 0; q < reports.getParameterCount(); ++q)
    {
        IParamValueQueue* queue = reports.getParameterData(q);
        ASSERT_EQ(queue->getPointCount(), 1);
        int32 offset = -1;
        double value = -1;
        queue->getPoint(0, offset, value);
        EXPECT_EQ(offset, 0);
        const uint32_t id = queue->getParameterId();
        EXPECT_TRUE(q == 0 || id > previousId) << "reports keep ascending ID order";
        previousId = id;
        const double expected = id == kCrossover       ? 0.5
                                : id == kCrossoverFreq ? 0.2
                                : id == kLpWidth       ? 0.0
                                                       : ChainReference::defaults()[id];
        EXPECT_EQ(value, expected) << "ID " << id;
    }
    Hosting::ParameterChanges after(64, 4);
    host->process(512, nullptr, &after);
    EXPECT_EQ(after.getParameterCount(), 0);
}

TEST_P(ChainBySampleSize, AProgramAppliesFromTheFirstFrameAndReportsWaitWhenTheListIsFull)
{
    auto host = makeHost();
    host->setValues({{kHpPan, 0.2}, {kMono, 1.0}}); // Mono is outside the programs
    RawChanges programme;
    programme.add(kProgSel, {{300, 0.6}}); // "Mono Compat Pan"
    std::vector<uint32_t> reported;
    Hosting::ParameterChanges first(5, 1);
    host->fillNoise(512, 20);
    host->process(512, &programme, &first); // reported in the same call, as far as the list goes
    // In force from the first frame of its block, though its point came late.
    const Values program = host->values();
    EXPECT_EQ(program[kHpPan], 0.5);
    EXPECT_EQ(program[kMono], 1.0);
    expectSteady(*host, 512, ChainReference::high(program));
    for (int call = 0; call < 10; ++call)
    {
        Hosting::ParameterChanges& reports = first;
        for (int32 q = 0; q < reports.getParameterCount(); ++q)
            reported.push_back(reports.getParameterData(q)->getParameterId());
        reports.clear();
        host->process(512, nullptr, &reports);
    }
    ASSERT_EQ(reported.size(), 23u);
    for (size_t i = 1; i < reported.size(); ++i)
        EXPECT_LT(reported[i - 1], reported[i]) << "order kept across calls";
}

// ---------------------------------------------------------------------------
// Denormals

TEST_F(ChainTest, TheHostsFloatingPointModeIsRestored)
{
    auto host = makeHost(HostSetup{});
    const unsigned original = _mm_getcsr();
    for (unsigned mode : {original & ~0x8040u, original | 0x8040u})
    {
        _mm_setcsr(mode);
        host->fillNoise(512, 19);
        host->process(512);
        EXPECT_EQ(_mm_getcsr() & 0xffc0u, mode & 0xffc0u); // modes and masks; the sticky flags may differ
        _mm_setcsr(original);
    }
}
