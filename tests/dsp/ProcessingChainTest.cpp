// The processing chain driven directly with plain arrays, against a long
// double reference of the band matrices computed from their closed forms.

#include "dsp/ProcessingChain.h"
#include "params/ParameterTable.h"
#include "params/curves.h"
#include "tests/dsp/ChainReference.h"
#include "tests/support/Noise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <initializer_list>
#include <utility>
#include <vector>

using ChainReference::apply;
using ChainReference::Matrix;
using ChainReference::Values;
using ChainReference::with;

namespace {

struct Point
{
    int32_t offset;
    double value;
};
using Queues = std::vector<std::pair<uint32_t, std::vector<Point>>>;

// A chain with its own buffers, driven as the processor drives it: values set
// at once are applied and the matrices rebuilt (as a state does); in a block,
// automatable parameters' points become breakpoint lists and the others take
// their last point at once.
class ChainRig
{
public:
    ChainRig(bool wide, uint32_t maxBlock, uint32_t bufferFrames = 0) : wide(wide)
    {
        const size_t frames = bufferFrames ? bufferFrames : maxBlock;
        for (int c = 0; c < 2; ++c)
        {
            in64[c].assign(frames, 0.0);
            out64[c].assign(frames, 0.0);
            in32[c].assign(frames, 0.0f);
            out32[c].assign(frames, 0.0f);
        }
        EXPECT_TRUE(chain.prepare(maxBlock, 44100));
        for (uint32_t id = 0; id < kNumParams; ++id)
            chain.applyParameter(id, values[id]);
        chain.rebuildBandMatrices();
    }

    void set(const std::vector<std::pair<uint32_t, double>>& settings)
    {
        for (const auto& [id, value] : settings)
        {
            values[id] = value;
            chain.applyParameter(id, value);
        }
        chain.rebuildBandMatrices();
    }

    void run(uint32_t frames, const Queues& queues = {})
    {
        chain.beginBlock(frames);
        for (const auto& [id, points] : queues)
        {
            if (table.record(id).flags & ParamFlags::kCanAutomate)
            {
                chain.automate(id, values[id], static_cast<int32_t>(points.size()),
                               [&points = points](int32_t j, uint32_t& offset, double& value)
                               {
                                   offset = points[j].offset > 0 ? static_cast<uint32_t>(points[j].offset) : 0;
                                   value = points[j].value;
                                   return true;
                               });
                continue;
            }
            values[id] = points.back().value;
            chain.applyParameter(id, values[id]);
        }
        if (wide)
        {
            const StereoIo<double> io{in64[0].data(), in64[1].data(), out64[0].data(), out64[1].data()};
            chain.process(&io, frames);
        }
        else
        {
            const StereoIo<float> io{in32[0].data(), in32[1].data(), out32[0].data(), out32[1].data()};
            chain.process(&io, frames);
        }
        for (uint32_t a = 0; a < chain.automatedCount(); ++a)
            values[chain.automatedId(a)] = chain.endValue(chain.automatedId(a));
    }

    void fillNoise(uint32_t frames, uint32_t seed)
    {
        KalviorTest::Noise noise(seed);
        for (int c = 0; c < 2; ++c)
            for (uint32_t i = 0; i < frames; ++i)
                setInput(c, i, noise.next());
    }
    void setInput(int c, uint32_t i, double x)
    {
        in64[c][i] = x;
        in32[c][i] = static_cast<float>(x);
    }
    double in(int c, uint32_t i) const { return wide ? in64[c][i] : in32[c][i]; }
    double out(int c, uint32_t i) const { return wide ? out64[c][i] : out32[c][i]; }

    const bool wide;
    ProcessingChain chain;
    Values values = ChainReference::defaults();

private:
    ParameterTable table;
    std::vector<double> in64[2], out64[2];
    std::vector<float> in32[2], out32[2];
};

// A stretch of frames whose matrix runs linearly from `from` (at `start`)
// towards `to` (reached at `end`, the first frame after it).
struct Ramp
{
    uint32_t start, end;
    Matrix from, to;
};

void expectRamps(const ChainRig& rig, const std::vector<Ramp>& ramps)
{
    // 64-bit keeps double rounding of the products and the running matrix;
    // 32-bit rounds the samples, the matrices and the increments to single precision.
    const double tol = rig.wide ? 1e-12 : 1e-4;
    int failures = 0;
    for (const Ramp& ramp : ramps)
        for (uint32_t i = ramp.start; i < ramp.end && failures < 5; ++i)
        {
            const long double t = static_cast<long double>(i - ramp.start) / (ramp.end - ramp.start);
            long double l = 0, r = 0;
            apply(ChainReference::lerp(ramp.from, ramp.to, t), rig.in(0, i), rig.in(1, i), l, r);
            if (std::fabs(rig.out(0, i) - static_cast<double>(l)) > tol ||
                std::fabs(rig.out(1, i) - static_cast<double>(r)) > tol)
            {
                ++failures;
                ADD_FAILURE() << "frame " << i << ": (" << rig.out(0, i) << ", " << rig.out(1, i) << ") expected ("
                              << static_cast<double>(l) << ", " << static_cast<double>(r) << ")";
            }
        }
}

void expectSteady(const ChainRig& rig, uint32_t frames, const Matrix& m)
{
    expectRamps(rig, {{0, frames, m, m}});
}

class ChainBySampleSize : public ::testing::TestWithParam<bool>
{};

INSTANTIATE_TEST_SUITE_P(SampleSizes, ChainBySampleSize, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Bits64" : "Bits32"; });

const std::vector<std::pair<uint32_t, double>> kShapedImage = {
    {kLeftPan, 0.2},   {kRightPan, 0.9},  {kBalance, 0.3}, {kAsymmetry, 0.6},   {kAsymmCrush, 0.7},
    {kHpWidth, 0.8},   {kHpPan, 0.35},    {kPanLaw, 0.25}, {kPanCrush, 0.6},    {kGainTrim, 0.7},
    {kInvertRight, 1}, {kLeftGain, 0.62}, {kHpGain, 0.81}, {kInputFormat, 0.0}, {kOutputFormat, 0.0},
};

using Settings = std::vector<std::pair<uint32_t, double>>;

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
        ChainRig rig(GetParam(), 512);
        rig.set(c.initial);
        const Values start = rig.values;
        auto at = [&](const Settings& settings)
        {
            return ChainReference::high(with(start, settings));
        };
        rig.fillNoise(512, seed++);
        rig.run(512, c.queues);
        std::vector<Ramp> ramps;
        for (const ExpectedRamp& r : c.ramps)
            ramps.push_back({r.start, r.end, at(r.from), at(r.to)});
        expectRamps(rig, ramps);

        for (const auto& [id, value] : c.after)
            EXPECT_EQ(rig.values[id], value) << "ID " << id;
        // the next block holds the final values
        rig.fillNoise(512, seed++);
        rig.run(512);
        expectSteady(rig, 512, at(c.after));
    }
}

TEST_P(ChainBySampleSize, LowBandMatrixRampsLikeTheHighBand)
{
    // LR-4 at a cutoff far below the test band: the high band carries the
    // signal, so the low band's own ramp is checked through its solo.
    ChainRig rig(GetParam(), 512);
    rig.set({{kCrossover, 1.0}, {kCrossoverFreq, 0.0}, {kSolo, 1.0}});
    // With "LOPASS" solo and an input of constant pairs, the output is the low band's response to DC.
    const Values v = rig.values;
    for (int c = 0; c < 2; ++c)
        for (uint32_t i = 0; i < 512; ++i)
            rig.setInput(c, i, c == 0 ? 0.5 : -0.25);
    for (int block = 0; block < 200; ++block) // settle the filters on DC
        rig.run(512);
    rig.run(512, {{kLpWidth, {{0, 1.0}}}, {kLpPan, {{256, 0.1}}}});
    // LP Width ramps over the whole block (a lone point at 0), LP Pan reaches 0.1 at 256.
    const Matrix start = ChainReference::low(v);
    const Matrix middle = ChainReference::low(with(v, {{kLpWidth, 0.75}, {kLpPan, 0.1}}));
    const Matrix end = ChainReference::low(with(v, {{kLpWidth, 1.0}, {kLpPan, 0.1}}));
    // The low band of a settled DC input equals the input (within the filter's denormal guard).
    const double tol = GetParam() ? 1e-6 : 1e-4;
    for (const Ramp& ramp : {Ramp{0, 256, start, middle}, Ramp{256, 512, middle, end}})
        for (uint32_t i = ramp.start; i < ramp.end; i += 17)
        {
            long double l = 0, r = 0;
            apply(ChainReference::lerp(ramp.from, ramp.to, (long double)(i - ramp.start) / (ramp.end - ramp.start)),
                  0.5, -0.25, l, r);
            EXPECT_NEAR(rig.out(0, i), static_cast<double>(l), tol) << "frame " << i;
            EXPECT_NEAR(rig.out(1, i), static_cast<double>(r), tol) << "frame " << i;
        }
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
        ChainRig rig(GetParam(), 512);
        // Settings that would be heard if they were not bypassed.
        rig.set({{kInputFormat, c.inputFormat},
                 {kOutputFormat, c.outputFormat},
                 {kLeftGain, 0.3},
                 {kMono, 1.0},
                 {kCrossover, 1.0},
                 {kSolo, 0.5},
                 {kGainTrim, 1.0}});
        // The segment 0..100 already ends bypassed: the whole block is a copy.
        rig.fillNoise(512, 13);
        rig.run(512, {{kBypass, {{100, 1.0}}}});
        for (uint32_t i = 0; i < 512; ++i)
        {
            const long double l = rig.in(0, i), r = rig.in(1, i);
            long double expectedL = l * c.leftFromL + r * c.leftFromR;
            long double expectedR = l * c.rightFromL + r * c.rightFromR;
            if (!GetParam())
            {
                // formed from the widened samples and rounded once
                expectedL = static_cast<float>(expectedL);
                expectedR = static_cast<float>(expectedR);
            }
            ASSERT_EQ(rig.out(0, i), static_cast<double>(expectedL)) << "frame " << i;
            ASSERT_EQ(rig.out(1, i), static_cast<double>(expectedR)) << "frame " << i;
        }
    }
}

// ---------------------------------------------------------------------------
// Crossover and solo

namespace {

// Amplitude of the bin-centred sine component `bin` of frames [0, n).
double amplitude(const ChainRig& rig, int channel, uint32_t n, int bin)
{
    std::complex<long double> sum = 0;
    for (uint32_t i = 0; i < n; ++i)
        sum += static_cast<long double>(rig.out(channel, i)) * std::polar(1.0L, -2 * kRefPi * bin * i / n);
    return static_cast<double>(2.0L * std::abs(sum) / n);
}

} // namespace

TEST(ProcessingChain, SoloKeepsOneBandWithItsOwnMatrix)
{
    constexpr uint32_t kFrames = 8192;
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
    for (bool wide : {false, true})
        for (const Case& c : cases)
            for (int bin : {11, 53, 446}) // 59 Hz, 285 Hz and 2401 Hz
            {
                SCOPED_TRACE(testing::Message() << (wide ? "64" : "32") << "-bit, " << c.name << ", bin " << bin);
                ChainRig rig(wide, kFrames);
                rig.set({{kCrossover, c.slope},
                         {kCrossoverFreq, 0.5},
                         {kSolo, c.solo},
                         {kHpGain, c.highGain},
                         {kLpGain, c.lowGain}});
                for (uint32_t i = 0; i < kFrames; ++i)
                {
                    const double x = std::sin(2 * M_PI * bin * i / kFrames);
                    rig.setInput(0, i, x);
                    rig.setInput(1, i, x);
                }
                rig.run(kFrames); // settle the filters
                rig.run(kFrames);

                const double hz = bin * kRate / kFrames;
                const int order = c.slope == 1.0 ? 2 : 1;
                const long double high = ChainReference::highBandMagnitude(hz, cutoff, kRate, order);
                const long double low = ChainReference::lowBandMagnitude(hz, cutoff, kRate, order);
                const long double highGain = c.solo == 1.0 ? 0 : Curves::faderToGain(c.highGain);
                const long double lowGain = c.solo == 0.5 ? 0 : Curves::faderToGain(c.lowGain);
                // Both bands of a Linkwitz-Riley pair are in phase, so their gains add.
                const double expected = static_cast<double>(highGain * high + lowGain * low);
                EXPECT_NEAR(amplitude(rig, 0, kFrames, bin), expected, 1e-4);
                EXPECT_NEAR(amplitude(rig, 1, kFrames, bin), expected, 1e-4);
            }
}

TEST(ProcessingChain, OverlongBlocksAreProcessedInChunksThatFit)
{
    for (bool wide : {false, true})
    {
        SCOPED_TRACE(wide ? "64-bit" : "32-bit");
        constexpr uint32_t kLong = 3000; // beyond every buffer prepare sized
        ChainRig overlong(wide, 256, kLong);
        ChainRig reference(wide, 256);
        // LR-2 is the slope a new crossover already has: no glide, so both
        // chains' filters see the same coefficients however the block is cut.
        const std::vector<std::pair<uint32_t, double>> settings = {
            {kCrossover, 0.5}, {kHpWidth, 0.9}, {kLpWidth, 0.1}, {kLpGain, 0.6}, {kBalance, 0.4}};
        overlong.set(settings);
        reference.set(settings);
        overlong.fillNoise(kLong, 16);
        overlong.run(kLong);

        uint32_t done = 0;
        while (done < kLong)
        {
            const uint32_t n = std::min<uint32_t>(256, kLong - done);
            for (int c = 0; c < 2; ++c)
                for (uint32_t i = 0; i < n; ++i)
                    reference.setInput(c, i, overlong.in(c, done + i));
            reference.run(n);
            for (int c = 0; c < 2; ++c)
                for (uint32_t i = 0; i < n; ++i)
                    ASSERT_EQ(overlong.out(c, done + i), reference.out(c, i)) << "frame " << done + i;
            done += n;
        }
    }
}
