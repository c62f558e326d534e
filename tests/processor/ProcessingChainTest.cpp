// The processor's audio thread through the built bundle: calls without audio,
// silent input, program changes and their reports, the host's floating-point
// mode. The chain itself is tested directly in the dsp tests.

#include "tests/dsp/ChainReference.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"
#include "tests/support/RawChanges.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using ChainReference::Matrix;
using ChainReference::with;
using KalviorTest::RawChanges;

namespace {

class ChainBySampleSize : public KalviorTest::BundleTest, public ::testing::WithParamInterface<int32>
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        host = std::make_unique<KalviorTest::ProcessingHost>(factory());
        ASSERT_TRUE(host->ok()) << host->error;
        ASSERT_EQ(host->start({44100.0, 512, GetParam()}), kResultOk);
        KalviorTest::Noise noise(11);
        host->fillNoise(512, noise);
    }
    void TearDown() override
    {
        host.reset();
        BundleTest::TearDown();
    }

    void resetToDefaults()
    {
        KalviorTest::ValueList defaults;
        for (const KalviorTest::ParameterRow& row : KalviorTest::kParameters)
            defaults.emplace_back(row.id, row.defaultNormalized);
        ASSERT_EQ(host->setValues(defaults), kResultOk);
    }

    // One block with the host's own output list (or none).
    tresult process(int32 frames, IParameterChanges* input, IParameterChanges* output)
    {
        return host->processor()->process(host->buffers.block(frames, input, output));
    }

    // Every frame of the last block multiplied by the matrix m.
    void expectSteady(const Matrix& m)
    {
        const double tol = GetParam() == kSample64 ? 1e-12 : 1e-4; // 32-bit rounds to single precision
        for (int32 i = 0; i < 512; ++i)
        {
            long double l = 0, r = 0;
            ChainReference::apply(m, host->in(0, i), host->in(1, i), l, r);
            ASSERT_NEAR(host->out(0, i), static_cast<double>(l), tol) << "frame " << i;
            ASSERT_NEAR(host->out(1, i), static_cast<double>(r), tol) << "frame " << i;
        }
    }

    std::unique_ptr<KalviorTest::ProcessingHost> host;
};

INSTANTIATE_TEST_SUITE_P(SampleSizes, ChainBySampleSize, ::testing::Values(kSample32, kSample64),
                         [](const auto& info) { return info.param == kSample64 ? "Bits64" : "Bits32"; });

int32 presetParameterCount()
{
    return static_cast<int32>(std::count_if(std::begin(KalviorTest::kParameters), std::end(KalviorTest::kParameters),
                                            [](const auto& row) { return row.inPreset; }));
}

} // namespace

TEST_P(ChainBySampleSize, CallsWithoutAudioMoveParametersOnly)
{
    struct Case
    {
        const char* name;
        int32 frames, numInputs, numOutputs;
        int32 sampleSize; // 0: the one set up
    };
    for (const Case& c : {Case{"no buses", 512, 0, 0, 0}, Case{"no input bus", 512, 0, 1, 0},
                          Case{"no output bus", 512, 1, 0, 0}, Case{"zero frames", 0, 1, 1, 0},
                          Case{"negative frames", -5, 1, 1, 0}, Case{"unknown sample size", 512, 1, 1, 7}})
    {
        SCOPED_TRACE(c.name);
        resetToDefaults();
        for (int32 ch = 0; ch < 2; ++ch)
            for (int32 i = 0; i < 512; ++i)
                if (GetParam() == kSample64)
                    host->buffers.output64(ch)[i] = 0.125;
                else
                    host->buffers.output32(ch)[i] = 0.125f;
        RawChanges changes;
        changes.add(kLeftGain, {{0, 1.0}}).add(kMono, {{0, 1.0}});
        ProcessData& data = host->buffers.block(c.frames, &changes);
        data.numInputs = c.numInputs;
        data.numOutputs = c.numOutputs;
        if (c.sampleSize)
            data.symbolicSampleSize = c.sampleSize;
        host->buffers.outputBus.silenceFlags = 3; // as a host's struct may still hold them
        ASSERT_EQ(host->processor()->process(data), kResultOk);
        if (c.frames == 0)
        {
            EXPECT_EQ(host->buffers.outputBus.silenceFlags, 0u); // a block of 0 frames of a non-silent input
        }
        for (int32 i = 0; i < 512; ++i)
            ASSERT_EQ(host->out(0, i), 0.125) << "audio was touched at frame " << i;

        const KalviorTest::Values v = host->values();
        EXPECT_EQ(v[kLeftGain], 1.0);
        EXPECT_EQ(v[kMono], 1.0);
        // The matrices were rebuilt: the next block is steady at the new settings.
        host->process(512);
        expectSteady(ChainReference::high(with(ChainReference::defaults(), {{kLeftGain, 1.0}, {kMono, 1.0}})));
    }
}

TEST_P(ChainBySampleSize, SilentInputGivesSilentFlaggedOutput)
{
    host->setValues({{kLeftGain, 1.0}, {kCrossover, 1.0}});
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
    expectSteady(ChainReference::high(with(ChainReference::defaults(), {{kLeftGain, 1.0}})));
}

// A program applies from the first frame of its block, though its point comes
// late; its reports wait for an output list with room, in ascending ID order,
// each the value the state holds, and are sent once.
TEST_P(ChainBySampleSize, ProgramReportsWaitForRoomInAnOutputList)
{
    struct Case
    {
        const char* name;
        double program;
        bool listWithTheProgram;
        int32 capacity;
    };
    for (const Case& c : {Case{"no list with the program", 0.6, false, 64}, Case{"lists of five", 0.8, true, 5}})
    {
        SCOPED_TRACE(c.name);
        resetToDefaults();
        host->setValues({{kHpPan, 0.2}, {kMono, 1.0}}); // Mono is outside the programs
        RawChanges program;
        program.add(kProgSel, {{300, c.program}});
        Hosting::ParameterChanges reports(c.capacity, 1);
        process(512, &program, c.listWithTheProgram ? &reports : nullptr);
        const KalviorTest::Values v = host->values();
        EXPECT_EQ(v[kMono], 1.0);
        expectSteady(ChainReference::high(v));

        std::vector<uint32_t> reported;
        for (int call = 0; call < 10; ++call)
        {
            for (int32 q = 0; q < reports.getParameterCount(); ++q)
            {
                IParamValueQueue* queue = reports.getParameterData(q);
                int32 offset = -1;
                double value = -1;
                ASSERT_EQ(queue->getPointCount(), 1);
                queue->getPoint(0, offset, value);
                EXPECT_EQ(offset, 0);
                EXPECT_EQ(value, v[queue->getParameterId()]) << "ID " << queue->getParameterId();
                reported.push_back(queue->getParameterId());
            }
            reports.clear();
            process(512, nullptr, &reports);
        }
        ASSERT_EQ(static_cast<int32>(reported.size()), presetParameterCount());
        EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    }
}

TEST_P(ChainBySampleSize, TheHostsFloatingPointModeIsRestored)
{
    const unsigned original = _mm_getcsr();
    for (unsigned mode : {original & ~0x8040u, original | 0x8040u})
    {
        _mm_setcsr(mode);
        host->process(512);
        EXPECT_EQ(_mm_getcsr() & 0xffc0u, mode & 0xffc0u); // modes and masks; the sticky flags may differ
        _mm_setcsr(original);
    }
}
