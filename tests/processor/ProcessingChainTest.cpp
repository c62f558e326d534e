// The processing chain through the built bundle, against a long double
// reference of the band matrices computed from their closed forms.

#include "tests/processor/ChainHost.h"

#include <xmmintrin.h>

#include <cmath>
#include <complex>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace ChainTestSupport;
using ChainReference::Matrix;
using ChainReference::Values;

namespace {

// Output tolerances: 64-bit keeps double rounding of the products and the
// running matrix; 32-bit rounds the samples, the matrices and the increments
// to single precision.
double tolerance(int32 sampleSize)
{
    return sampleSize == kSample64 ? 1e-12 : 1e-4;
}

const char* sizeName(int32 sampleSize)
{
    return sampleSize == kSample64 ? "64-bit" : "32-bit";
}

// A stretch of frames whose matrix runs linearly from `from` (at `start`)
// towards `to` (reached at `end`, the first frame after it).
struct Ramp
{
    int32 start, end;
    Matrix from, to;
};

Values with(Values v, const std::vector<std::pair<uint32_t, double>>& changes)
{
    for (const auto& [id, value] : changes)
        v[id] = value;
    return v;
}

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

    static void expectRamps(const ChainHost& host, const std::vector<Ramp>& ramps)
    {
        const double tol = tolerance(host.setup.sampleSize);
        int failures = 0;
        for (const Ramp& ramp : ramps)
            for (int32 i = ramp.start; i < ramp.end && failures < 5; ++i)
            {
                const long double t = static_cast<long double>(i - ramp.start) / (ramp.end - ramp.start);
                long double l = 0, r = 0;
                apply(ChainReference::lerp(ramp.from, ramp.to, t), host.in(0, i), host.in(1, i), l, r);
                if (std::fabs(host.out(0, i) - static_cast<double>(l)) > tol ||
                    std::fabs(host.out(1, i) - static_cast<double>(r)) > tol)
                {
                    ++failures;
                    ADD_FAILURE() << "frame " << i << ": (" << host.out(0, i) << ", " << host.out(1, i)
                                  << ") expected (" << static_cast<double>(l) << ", " << static_cast<double>(r) << ")";
                }
            }
    }

    static void expectSteady(const ChainHost& host, int32 frames, const Matrix& m)
    {
        expectRamps(host, {{0, frames, m, m}});
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

const std::vector<std::pair<uint32_t, double>> kShapedImage = {
    {kLeftPan, 0.2},   {kRightPan, 0.9},  {kBalance, 0.3}, {kAsymmetry, 0.6},   {kAsymmCrush, 0.7},
    {kHpWidth, 0.8},   {kHpPan, 0.35},    {kPanLaw, 0.25}, {kPanCrush, 0.6},    {kGainTrim, 0.7},
    {kInvertRight, 1}, {kLeftGain, 0.62}, {kHpGain, 0.81}, {kInputFormat, 0.0}, {kOutputFormat, 0.0},
};

} // namespace

// ---------------------------------------------------------------------------
// Steady settings and ramps

TEST_F(ChainTest, SteadySettingsMultiplyEveryFrameByOneMatrix)
{
    for (int32 size : {kSample32, kSample64})
        for (int32 frames : {1, 7, 512, 4096})
            for (const auto& formats : {std::pair{0.0, 0.0}, {1.0, 0.0}, {0.0, 1.0}, {1.0, 1.0}})
            {
                SCOPED_TRACE(testing::Message() << sizeName(size) << ", " << frames << " frames, formats "
                                                << formats.first << "/" << formats.second);
                HostSetup setup;
                setup.sampleSize = size;
                setup.maxBlock = frames;
                auto host = makeHost(setup);
                host->setValues(kShapedImage);
                host->setValues({{kInputFormat, formats.first}, {kOutputFormat, formats.second}});
                const Values v = with(with(ChainReference::defaults(), kShapedImage),
                                      {{kInputFormat, formats.first}, {kOutputFormat, formats.second}});
                for (uint32_t block = 0; block < 2; ++block)
                {
                    host->fillNoise(frames, block + 1);
                    ASSERT_EQ(host->process(frames), kResultOk);
                    expectSteady(*host, frames, ChainReference::high(v));
                }
            }
}

namespace {

using Settings = std::vector<std::pair<uint32_t, double>>;

// A stretch whose matrix runs from the settings `from` to `to` (each on top of
// the case's starting values).
struct ExpectedRamp
{
    int32 start, end;
    Settings from, to;
};

struct AutomationCase
{
    const char* name;
    Settings initial;
    std::vector<std::pair<uint32_t, std::vector<Point>>> queues;
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
    // "Default" is in force from the first frame; Mono is outside the programs.
    {"a program change applies from the first frame",
     {{kHpPan, 0.2}, {kLeftGain, 0.5}, {kMono, 1.0}},
     {{kProgSel, {{300, 0.0}}}},
     {{0, 512, {{kHpPan, 0.5}, {kLeftGain, 0.75}}, {{kHpPan, 0.5}, {kLeftGain, 0.75}}}},
     {{kHpPan, 0.5}, {kLeftGain, 0.75}}},
    // No points: with the crossover off only the high band settings are heard.
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
        auto host = makeHost();
        host->setValues(c.initial);
        Values start = ChainReference::defaults();
        for (const auto& [id, value] : c.initial)
            start[id] = value;
        auto at = [&](const Settings& settings)
        {
            Values v = start;
            for (const auto& [id, value] : settings)
                v[id] = value;
            return ChainReference::high(v);
        };
        RawChanges changes;
        for (const auto& [id, points] : c.queues)
            changes.add(id, points);
        host->fillNoise(512, seed++);
        ASSERT_EQ(host->process(512, &changes), kResultOk);
        std::vector<Ramp> ramps;
        for (const ExpectedRamp& r : c.ramps)
            ramps.push_back({r.start, r.end, at(r.from), at(r.to)});
        expectRamps(*host, ramps);

        const Values after = host->values();
        for (const auto& [id, value] : c.after)
            EXPECT_EQ(after[id], value) << "ID " << id;
        // the next block holds the final values
        host->fillNoise(512, seed++);
        host->process(512);
        expectSteady(*host, 512, at(c.after));
    }
    // the top of the fader from its closed form: 12 dB
    EXPECT_NEAR(static_cast<double>(ChainReference::faderGain(1.0L)), 3.981071705534972, 1e-12);
}

TEST_P(ChainBySampleSize, LowBandMatrixRampsLikeTheHighBand)
{
    // LR-4 at a cutoff far below the test band: the high band carries the
    // signal, so the low band's own ramp is checked through its solo.
    auto host = makeHost();
    host->setValues({{kCrossover, 1.0}, {kCrossoverFreq, 0.0}, {kSolo, 1.0}});
    // With "LOPASS" solo and an input of constant pairs, the output is the low band's response to DC.
    const Values v = with(ChainReference::defaults(), {{kCrossover, 1.0}, {kCrossoverFreq, 0.0}, {kSolo, 1.0}});
    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < 512; ++i)
            host->buffers.setInput(c, i, c == 0 ? 0.5 : -0.25);
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
        for (int32 i = ramp.start; i < ramp.end; i += 17)
        {
            long double l = 0, r = 0;
            apply(ChainReference::lerp(ramp.from, ramp.to, (long double)(i - ramp.start) / (ramp.end - ramp.start)),
                  0.5, -0.25, l, r);
            EXPECT_NEAR(host->out(0, i), static_cast<double>(l), tol) << "frame " << i;
            EXPECT_NEAR(host->out(1, i), static_cast<double>(r), tol) << "frame " << i;
        }
}

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
        ASSERT_EQ(host->processor()->process(data), kResultOk);
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
// Bypass

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
        auto host = makeHost();
        // Settings that would be heard if they were not bypassed.
        host->setValues({{kInputFormat, c.inputFormat},
                         {kOutputFormat, c.outputFormat},
                         {kLeftGain, 0.3},
                         {kMono, 1.0},
                         {kCrossover, 1.0},
                         {kSolo, 0.5},
                         {kGainTrim, 1.0}});
        // The segment 0..100 already ends bypassed: the whole block is a copy.
        RawChanges changes;
        changes.add(kBypass, {{100, 1.0}});
        host->fillNoise(512, 13);
        host->process(512, &changes);
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

// ---------------------------------------------------------------------------
// Crossover and solo

namespace {

// Amplitude of the bin-centred sine component `bin` of frames [from, from + n).
double amplitude(const ChainHost& host, int32 channel, int32 from, int32 n, int bin)
{
    std::complex<long double> sum = 0;
    for (int32 i = 0; i < n; ++i)
        sum += static_cast<long double>(host.out(channel, from + i)) *
               std::polar(1.0L, -2 * ChainReference::kPi * bin * i / n);
    return static_cast<double>(2.0L * std::abs(sum) / n);
}

} // namespace

TEST_F(ChainTest, SoloKeepsOneBandWithItsOwnMatrix)
{
    constexpr int32 kFrames = 8192;
    constexpr double kRate = 44100.0;
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
    for (int32 size : {kSample32, kSample64})
        for (const Case& c : cases)
            for (int bin : {11, 53, 446}) // 59 Hz, 285 Hz and 2401 Hz
            {
                SCOPED_TRACE(testing::Message() << sizeName(size) << ", " << c.name << ", bin " << bin);
                HostSetup setup;
                setup.sampleSize = size;
                setup.maxBlock = kFrames;
                auto host = makeHost(setup);
                host->setValues({{kCrossover, c.slope},
                                 {kCrossoverFreq, 0.5},
                                 {kSolo, c.solo},
                                 {kHpGain, c.highGain},
                                 {kLpGain, c.lowGain}});
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
                const long double highGain = c.solo == 1.0 ? 0 : ChainReference::faderGain(c.highGain);
                const long double lowGain = c.solo == 0.5 ? 0 : ChainReference::faderGain(c.lowGain);
                // Both bands of a Linkwitz-Riley pair are in phase, so their gains add.
                const double expected = static_cast<double>(highGain * high + lowGain * low);
                EXPECT_NEAR(amplitude(*host, 0, 0, kFrames, bin), expected, 1e-4);
                EXPECT_NEAR(amplitude(*host, 1, 0, kFrames, bin), expected, 1e-4);
            }
}

TEST_F(ChainTest, OverlongBlocksAreProcessedInChunksThatFit)
{
    for (int32 size : {kSample32, kSample64})
    {
        SCOPED_TRACE(sizeName(size));
        constexpr int32 kLong = 3000; // beyond every buffer the setup sized
        HostSetup small;
        small.sampleSize = size;
        small.maxBlock = 256;
        small.bufferFrames = kLong;
        auto overlong = makeHost(small);
        small.bufferFrames = 0;
        auto reference = makeHost(small);
        // LR-2 is the slope a new crossover already has: no glide, so both
        // instances' filters see the same coefficients however the block is cut.
        const std::initializer_list<std::pair<uint32_t, double>> settings = {
            {kCrossover, 0.5}, {kHpWidth, 0.9}, {kLpWidth, 0.1}, {kLpGain, 0.6}, {kBalance, 0.4}};
        overlong->setValues(settings);
        reference->setValues(settings);
        overlong->fillNoise(kLong, 16);
        overlong->process(kLong);

        int32 done = 0;
        while (done < kLong)
        {
            const int32 n = std::min<int32>(256, kLong - done);
            for (int32 c = 0; c < 2; ++c)
                for (int32 i = 0; i < n; ++i)
                    reference->buffers.setInput(c, i, overlong->in(c, done + i));
            reference->process(n);
            for (int32 c = 0; c < 2; ++c)
                for (int32 i = 0; i < n; ++i)
                    ASSERT_EQ(overlong->out(c, done + i), reference->out(c, i)) << "frame " << done + i;
            done += n;
        }
    }
}

TEST_F(ChainTest, OverlongBlocksWithDenseAutomationStayInTheirBuffers)
{
    HostSetup small;
    small.maxBlock = 64;
    small.bufferFrames = 4096;
    auto host = makeHost(small);
    host->setValues({{kCrossover, 0.5}});
    std::vector<Point> gain, pan;
    for (int32 i = 0; i < 4096; i += 3)
    {
        gain.push_back({i, (i % 7) / 7.0});
        pan.push_back({i + 1, (i % 5) / 5.0});
    }
    gain.push_back({4095, 0.6});
    RawChanges changes;
    changes.add(kLeftGain, gain).add(kHpPan, pan);
    host->fillNoise(4096, 17);
    ASSERT_EQ(host->process(4096, &changes), kResultOk);
    for (int32 i = 0; i < 4096; ++i)
        ASSERT_TRUE(std::isfinite(host->out(0, i)) && std::isfinite(host->out(1, i))) << "frame " << i;
    EXPECT_EQ(host->values()[kLeftGain], 0.6);
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

TEST_P(ChainBySampleSize, ProgramChangeReportsWaitWhenTheListIsFull)
{
    auto host = makeHost();
    RawChanges programme;
    programme.add(kProgSel, {{0, 0.6}}); // "Mono Compat Pan"
    std::vector<uint32_t> reported;
    Hosting::ParameterChanges first(5, 1);
    host->process(512, &programme, &first); // reported in the same call, as far as the list goes
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
