// The processing chain and the processor's audio thread through the built
// bundle, against a long double reference of the band matrices computed from
// their closed forms: automation ramps, bypass, crossover and solo, overlong
// blocks, calls without audio, program changes and their
// reports, the host's floating-point mode.

#include "params/curves.h"
#include "tests/dsp/ChainReference.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"
#include "tests/support/RawChanges.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <complex>

using namespace Steinberg;
using namespace Steinberg::Vst;
using ChainReference::Matrix;
using ChainReference::with;
using KalviorTest::Point;
using KalviorTest::RawChanges;

namespace {

using Settings = KalviorTest::ValueList;
using Queues = std::vector<std::pair<uint32_t, std::vector<Point>>>;

// A stretch of frames whose matrix runs linearly from `from` (at `start`)
// towards `to` (reached at `end`, the first frame after it).
struct Ramp
{
    uint32_t start, end;
    Matrix from, to;
};

class ChainBySampleSize : public KalviorTest::BundleTest, public ::testing::WithParamInterface<int32>
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        host = makeHost(512);
        KalviorTest::Noise noise(11);
        host->fillNoise(512, noise);
    }
    void TearDown() override
    {
        host.reset();
        BundleTest::TearDown();
    }

    // An instance at 44.1 kHz processing blocks up to maxBlock frames in
    // buffers of bufferFrames (0: maxBlock).
    std::unique_ptr<KalviorTest::ProcessingHost> makeHost(int32 maxBlock, int32 bufferFrames = 0)
    {
        auto made = std::make_unique<KalviorTest::ProcessingHost>(factory());
        EXPECT_TRUE(made->ok()) << made->error;
        EXPECT_EQ(made->start({44100.0, maxBlock, GetParam(), true, bufferFrames}), kResultOk);
        return made;
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

    // One block of noise with the points of `queues`, exactly as written.
    void run(int32 frames, uint32_t seed, const Queues& queues = {})
    {
        KalviorTest::Noise noise(seed);
        host->fillNoise(frames, noise);
        RawChanges changes;
        for (const auto& [id, points] : queues)
            changes.add(id, points);
        ASSERT_EQ(host->process(frames, &changes), kResultOk);
    }

    void expectRamps(const std::vector<Ramp>& ramps)
    {
        // 64-bit keeps double rounding of the products and the running matrix;
        // 32-bit rounds the samples, the matrices and the increments to single precision.
        const double tol = GetParam() == kSample64 ? 1e-12 : 1e-4;
        int failures = 0;
        for (const Ramp& ramp : ramps)
            for (uint32_t i = ramp.start; i < ramp.end && failures < 5; ++i)
            {
                const long double t = static_cast<long double>(i - ramp.start) / (ramp.end - ramp.start);
                long double l = 0, r = 0;
                const int32 f = static_cast<int32>(i);
                ChainReference::apply(ChainReference::lerp(ramp.from, ramp.to, t), host->in(0, f), host->in(1, f), l,
                                      r);
                if (std::fabs(host->out(0, f) - static_cast<double>(l)) > tol ||
                    std::fabs(host->out(1, f) - static_cast<double>(r)) > tol)
                {
                    ++failures;
                    ADD_FAILURE() << "frame " << i << ": (" << host->out(0, f) << ", " << host->out(1, f)
                                  << ") expected (" << static_cast<double>(l) << ", " << static_cast<double>(r) << ")";
                }
            }
    }

    // Every frame of the last block multiplied by the matrix m.
    void expectSteady(const Matrix& m, uint32_t frames = 512) { expectRamps({{0, frames, m, m}}); }

    std::unique_ptr<KalviorTest::ProcessingHost> host;
};

INSTANTIATE_TEST_SUITE_P(SampleSizes, ChainBySampleSize, ::testing::Values(kSample32, kSample64),
                         [](const auto& info) { return info.param == kSample64 ? "Bits64" : "Bits32"; });

int32 presetParameterCount()
{
    return static_cast<int32>(std::count_if(std::begin(KalviorTest::kParameters), std::end(KalviorTest::kParameters),
                                            [](const auto& row) { return row.inPreset; }));
}

// Amplitude of the bin-centred sine component `bin` of frames [0, n) of a channel.
double amplitude(const KalviorTest::ProcessingHost& host, int32 channel, int32 n, int bin)
{
    std::complex<long double> sum = 0;
    for (int32 i = 0; i < n; ++i)
        sum += static_cast<long double>(host.out(channel, i)) * std::polar(1.0L, -2 * kRefPi * bin * i / n);
    return static_cast<double>(2.0L * std::abs(sum) / n);
}

const Settings kShapedImage = {
    {kLeftPan, 0.2},   {kRightPan, 0.9},  {kBalance, 0.3}, {kAsymmetry, 0.6},   {kAsymmCrush, 0.7},
    {kHpWidth, 0.8},   {kHpPan, 0.35},    {kPanLaw, 0.25}, {kPanCrush, 0.6},    {kGainTrim, 0.7},
    {kInvertRight, 1}, {kLeftGain, 0.62}, {kHpGain, 0.81}, {kInputFormat, 0.0}, {kOutputFormat, 0.0},
};

// The shaped image with some settings changed.
Settings shaped(const Settings& changes)
{
    Settings settings = kShapedImage;
    settings.insert(settings.end(), changes.begin(), changes.end());
    return settings;
}

// A stretch whose matrix runs from the settings `from` to `to` (each on top of
// the case's starting values).
struct ExpectedRamp
{
    uint32_t start, end;
    Settings from, to;
};

struct AutomationCase
{
    const char* name;
    Settings initial;
    Queues queues;
    std::vector<ExpectedRamp> ramps; // together they cover the 512 frames
    Settings after;                  // the values when the block is done
};

// A lone point ramps from the previous value and reaches it at its offset (a
// point at 0 over the whole block); points at one offset jump there; points
// out of the block or out of order never make the path leave the block or run
// backwards.
const AutomationCase kAutomationCases[] = {
    {"point at offset 0 ramps over the whole block",
     {},
     {{kLeftGain, {{0, 1.0}}}},
     {{0, 512, {}, {{kLeftGain, 1.0}}}},
     {{kLeftGain, 1.0}}},
    {"point inside the block ramps there and holds",
     {},
     {{kLeftGain, {{100, 1.0}}}},
     {{0, 100, {}, {{kLeftGain, 1.0}}}, {100, 512, {{kLeftGain, 1.0}}, {{kLeftGain, 1.0}}}},
     {{kLeftGain, 1.0}}},
    {"two points at one offset jump there",
     {},
     {{kBalance, {{200, 0.25}, {200, 0.75}}}},
     {{0, 200, {}, {{kBalance, 0.25}}}, {200, 512, {{kBalance, 0.75}}, {{kBalance, 0.75}}}},
     {{kBalance, 0.75}}},
    {"every point of every parameter cuts the block",
     {},
     {{kLeftGain, {{0, 0.8}, {256, 0.9}}}, {kBalance, {{128, 0.6}}}},
     {{0, 128, {{kLeftGain, 0.8}}, {{kLeftGain, 0.85}, {kBalance, 0.6}}},
      {128, 256, {{kLeftGain, 0.85}, {kBalance, 0.6}}, {{kLeftGain, 0.9}, {kBalance, 0.6}}},
      {256, 512, {{kLeftGain, 0.9}, {kBalance, 0.6}}, {{kLeftGain, 0.9}, {kBalance, 0.6}}}},
     {{kLeftGain, 0.9}, {kBalance, 0.6}}},
    {"offsets past the block are clamped into it",
     {},
     {{kLeftGain, {{5000, 1.0}}}},
     {{0, 511, {}, {{kLeftGain, 1.0}}}, {511, 512, {{kLeftGain, 1.0}}, {{kLeftGain, 1.0}}}},
     {{kLeftGain, 1.0}}},
    // The late point lands on 300 and becomes a jump there; a negative offset
    // counts as 0, so that point ramps over the whole block.
    {"decreasing offsets never run backwards",
     {},
     {{kBalance, {{300, 0.8}, {100, 0.2}}}, {kRightGain, {{-5, 0.6}}}},
     {{0, 300, {}, {{kBalance, 0.8}, {kRightGain, 0.75 + (0.6 - 0.75) * 300 / 512}}},
      {300,
       512,
       {{kBalance, 0.2}, {kRightGain, 0.75 + (0.6 - 0.75) * 300 / 512}},
       {{kBalance, 0.2}, {kRightGain, 0.6}}}},
     {{kBalance, 0.2}, {kRightGain, 0.6}}},
    // Mono is taken at once and reached over the block.
    {"mono fades the side over one block",
     kShapedImage,
     {{kMono, {{37, 1.0}}}},
     {{0, 512, {}, {{kMono, 1.0}}}},
     {{kMono, 1.0}}},
    // No points: one matrix for every frame, in each pair of formats.
    {"steady, L/R to M/S", shaped({{kOutputFormat, 1.0}}), {}, {{0, 512, {}, {}}}, {}},
    {"steady, M/S to L/R", shaped({{kInputFormat, 1.0}}), {}, {{0, 512, {}, {}}}, {}},
    {"steady, M/S to M/S", shaped({{kInputFormat, 1.0}, {kOutputFormat, 1.0}}), {}, {{0, 512, {}, {}}}, {}},
    // With the crossover off only the high band settings are heard.
    {"crossover off",
     {{kSolo, 1.0}, {kLpGain, 0.0}, {kLpWidth, 1.0}, {kLpPan, 0.0}, {kHpWidth, 0.3}},
     {},
     {{0, 512, {}, {}}},
     {}},
};

} // namespace

TEST_P(ChainBySampleSize, AutomationPointsCutTheBlockIntoRamps)
{
    uint32_t seed = 1;
    for (const AutomationCase& c : kAutomationCases)
    {
        SCOPED_TRACE(c.name);
        resetToDefaults();
        ASSERT_EQ(host->setValues(c.initial), kResultOk);
        const KalviorTest::Values start = host->values();
        auto at = [&](const Settings& settings)
        {
            return ChainReference::high(with(start, settings));
        };
        run(512, seed++, c.queues);
        std::vector<Ramp> ramps;
        for (const ExpectedRamp& r : c.ramps)
            ramps.push_back({r.start, r.end, at(r.from), at(r.to)});
        expectRamps(ramps);

        const KalviorTest::Values after = host->values();
        for (const auto& [id, value] : c.after)
            EXPECT_EQ(after[id], value) << "ID " << id;
        // the next block holds the final values
        run(512, seed++);
        expectSteady(at(c.after));
    }
}

TEST_P(ChainBySampleSize, LowBandMatrixRampsLikeTheHighBand)
{
    // LR-4 at a cutoff far below the test band: the high band carries the
    // signal, so the low band's own ramp is checked through its solo.
    // With "LOPASS" solo and an input of constant pairs, the output is the low band's response to DC.
    ASSERT_EQ(host->setValues({{kCrossover, 1.0}, {kCrossoverFreq, 0.0}, {kSolo, 1.0}}), kResultOk);
    const KalviorTest::Values v = host->values();
    host->fillInput(512, 0.5, -0.25);
    for (int block = 0; block < 200; ++block) // settle the filters on DC
        host->process(512);
    RawChanges changes;
    changes.add(kLpWidth, {{0, 1.0}}).add(kLpPan, {{256, 0.1}});
    host->process(512, &changes);
    // LP Width ramps over the whole block (a lone point at 0), LP Pan reaches 0.1 at 256.
    const Matrix start = ChainReference::low(v);
    const Matrix middle = ChainReference::low(with(v, {{kLpWidth, 0.75}, {kLpPan, 0.1}}));
    const Matrix end = ChainReference::low(with(v, {{kLpWidth, 1.0}, {kLpPan, 0.1}}));
    // The low band of a settled DC input equals the input (within the filter's denormal guard).
    const double tol = GetParam() == kSample64 ? 1e-6 : 1e-4;
    for (const Ramp& ramp : {Ramp{0, 256, start, middle}, Ramp{256, 512, middle, end}})
        for (uint32_t i = ramp.start; i < ramp.end; i += 17)
        {
            long double l = 0, r = 0;
            ChainReference::apply(
                ChainReference::lerp(ramp.from, ramp.to, (long double)(i - ramp.start) / (ramp.end - ramp.start)), 0.5,
                -0.25, l, r);
            EXPECT_NEAR(host->out(0, int32(i)), static_cast<double>(l), tol) << "frame " << i;
            EXPECT_NEAR(host->out(1, int32(i)), static_cast<double>(r), tol) << "frame " << i;
        }
}

TEST_P(ChainBySampleSize, BypassCopiesWithTheFormatConversionFromTheStartOfItsSegment)
{
    struct Case
    {
        double inputFormat, outputFormat;
        long double leftFromL, leftFromR, rightFromL, rightFromR; // exact linear forms
    };
    const Case cases[] = {
        {0, 0, 1, 0, 0, 1},              // L/R to L/R: unchanged
        {1, 1, 1, 0, 0, 1},              // M/S to M/S: unchanged
        {1, 0, 1, 1, 1, -1},             // M/S read as L/R: L = M + S, R = M - S
        {0, 1, 0.5L, 0.5L, 0.5L, -0.5L}, // L/R written as M/S
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "formats " << c.inputFormat << "/" << c.outputFormat);
        resetToDefaults();
        // Settings that would be heard if they were not bypassed.
        ASSERT_EQ(host->setValues({{kInputFormat, c.inputFormat},
                                   {kOutputFormat, c.outputFormat},
                                   {kLeftGain, 0.3},
                                   {kMono, 1.0},
                                   {kCrossover, 1.0},
                                   {kSolo, 0.5},
                                   {kGainTrim, 1.0}}),
                  kResultOk);
        // The segment 0..100 already ends bypassed: the whole block is a copy.
        run(512, 13, {{kBypass, {{100, 1.0}}}});
        for (int32 i = 0; i < 512; ++i)
        {
            const long double l = host->in(0, i), r = host->in(1, i);
            long double expectedL = l * c.leftFromL + r * c.leftFromR;
            long double expectedR = l * c.rightFromL + r * c.rightFromR;
            if (GetParam() == kSample32)
            {
                // formed from the widened samples and rounded once
                expectedL = static_cast<float>(expectedL);
                expectedR = static_cast<float>(expectedR);
            }
            ASSERT_EQ(host->out(0, i), static_cast<double>(expectedL)) << "frame " << i;
            ASSERT_EQ(host->out(1, i), static_cast<double>(expectedR)) << "frame " << i;
        }
    }
}

TEST_P(ChainBySampleSize, SoloKeepsOneBandWithItsOwnMatrix)
{
    constexpr int32 kFrames = 8192;
    constexpr double kRate = 44100.0;
    host = makeHost(kFrames);
    const double cutoff = ChainReference::crossoverHz(0.5); // 282 Hz
    struct Case
    {
        const char* name;
        double slope, solo, highGain, lowGain;
    };
    const Case cases[] = {
        {"LR-4 none", 1.0, 0.0, 0.75, 0.75},     {"LR-4 high only", 1.0, 0.5, 0.75, 0.75},
        {"LR-4 low only", 1.0, 1.0, 0.75, 0.75}, {"LR-4 gains", 1.0, 0.0, 0.5, 1.0},
        {"LR-2 none", 0.5, 0.0, 0.75, 0.75},     {"LR-2 high only", 0.5, 0.5, 0.6, 0.75},
        {"LR-2 low only", 0.5, 1.0, 0.75, 0.9},
    };
    for (const Case& c : cases)
        for (int bin : {11, 53, 446}) // 59 Hz, 285 Hz and 2401 Hz
        {
            SCOPED_TRACE(testing::Message() << c.name << ", bin " << bin);
            ASSERT_EQ(host->setValues({{kCrossover, c.slope},
                                       {kCrossoverFreq, 0.5},
                                       {kSolo, c.solo},
                                       {kHpGain, c.highGain},
                                       {kLpGain, c.lowGain}}),
                      kResultOk);
            for (int32 i = 0; i < kFrames; ++i)
            {
                const double x = std::sin(2 * M_PI * bin * i / kFrames);
                host->buffers.setInput(0, i, x);
                host->buffers.setInput(1, i, x);
            }
            host->process(kFrames); // settle the filters
            host->process(kFrames);

            const double hz = bin * kRate / kFrames;
            const int order = c.slope == 1.0 ? 2 : 1;
            const long double high = ChainReference::highBandMagnitude(hz, cutoff, kRate, order);
            const long double low = ChainReference::lowBandMagnitude(hz, cutoff, kRate, order);
            const long double highGain = c.solo == 1.0 ? 0 : Curves::faderToGain(c.highGain);
            const long double lowGain = c.solo == 0.5 ? 0 : Curves::faderToGain(c.lowGain);
            // Both bands of a Linkwitz-Riley pair are in phase, so their gains add.
            const double expected = static_cast<double>(highGain * high + lowGain * low);
            EXPECT_NEAR(amplitude(*host, 0, kFrames, bin), expected, 1e-4);
            EXPECT_NEAR(amplitude(*host, 1, kFrames, bin), expected, 1e-4);
        }
}

TEST_P(ChainBySampleSize, OverlongBlocksAreProcessedInChunksThatFit)
{
    constexpr int32 kLong = 3000; // beyond the block size the setup promised
    auto overlong = makeHost(256, kLong);
    auto reference = makeHost(256);
    // LR-2 is the slope a new crossover already has: no glide, so both
    // chains' filters see the same coefficients however the block is cut.
    const Settings settings = {{kCrossover, 0.5}, {kHpWidth, 0.9}, {kLpWidth, 0.1}, {kLpGain, 0.6}, {kBalance, 0.4}};
    ASSERT_EQ(overlong->setValues(settings), kResultOk);
    ASSERT_EQ(reference->setValues(settings), kResultOk);
    KalviorTest::Noise noise(16);
    overlong->fillNoise(kLong, noise);
    ASSERT_EQ(overlong->process(kLong), kResultOk);

    for (int32 done = 0; done < kLong;)
    {
        const int32 n = std::min<int32>(256, kLong - done);
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < n; ++i)
                reference->buffers.setInput(c, i, overlong->in(c, done + i));
        ASSERT_EQ(reference->process(n), kResultOk);
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < n; ++i)
                ASSERT_EQ(overlong->out(c, done + i), reference->out(c, i)) << "frame " << done + i;
        done += n;
    }
}

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
        expectSteady(ChainReference::high(with(KalviorTest::defaultValues(), {{kLeftGain, 1.0}, {kMono, 1.0}})));
    }
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
