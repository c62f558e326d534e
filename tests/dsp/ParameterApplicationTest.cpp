#include "StereoReference.h"
#include "dsp/SignalPath.h"
#include "params/ParamId.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kQuarter = 0.7853981633974483;

long double dbToGain(long double db)
{
    return std::pow(10.0L, db / 20.0L);
}

// Everything applyParameter can change, for before/after comparisons.
struct Snapshot
{
    explicit Snapshot(const SignalPath& p)
        : matrices{p.inputGain.lr, p.inputPans.lr, p.balance.lr, p.asymmetry.lr, p.highWidth.lr,
                   p.highPan.lr,   p.lowWidth.lr,  p.lowPan.lr,  p.output.lr},
          switches{p.bypass, p.scopeOn, p.crossoverOn, p.inputMS, p.outputMS}, solo(p.solo),
          frequency(p.crossover.frequency), lr4(p.crossover.lr4), glide(p.crossover.lowA.smoothingLeft)
    {
    }
    bool operator==(const Snapshot& o) const
    {
        for (int i = 0; i < 9; ++i)
            if (matrices[i] != o.matrices[i])
                return false;
        for (int i = 0; i < 5; ++i)
            if (switches[i] != o.switches[i])
                return false;
        return solo == o.solo && frequency == o.frequency && lr4 == o.lr4 && glide == o.glide;
    }
    StereoMatrix matrices[9];
    bool switches[5];
    uint32_t solo;
    uint32_t frequency;
    int32_t lr4;
    int glide;
};

} // namespace

TEST(ParameterApplication, FaderGainCurve)
{
    struct Case
    {
        double v;
        long double gain;
    };
    const Case cases[] = {
        {0.0, 0.0L},                          // silence
        {0.25, dbToGain(-27.82L)},            // logarithmic branch
        {0.5, dbToGain(-12.0L)},              // the knee
        {0.75, 1.0L},                         // unity
        {1.0, dbToGain(12.0L)},               // top
        {1e-12, dbToGain(-70.0L)},            // just above 0 is -70 dB, not silence
        {0.625, dbToGain((0.625L - 0.5L) * 48.0L - 12.0L)},
    };
    for (const Case& c : cases)
    {
        SignalPath p;
        p.applyParameter(kLeftGain, c.v);
        p.applyParameter(kHpGain, c.v);
        p.applyParameter(kLpGain, c.v);
        const double tolerance = (c.v == 0.25 ? 1e-3 : 1e-6) * double(c.gain); // 0.01 dB and 1e-5 dB
        EXPECT_NEAR(p.inputGain.gainL, double(c.gain), tolerance) << c.v;
        EXPECT_NEAR(p.highWidth.gain, double(c.gain), tolerance) << c.v;
        EXPECT_NEAR(p.lowWidth.gain, double(c.gain), tolerance) << c.v;
    }
    SignalPath p;
    p.applyParameter(kRightGain, 0.0);
    EXPECT_EQ(p.inputGain.gainR, 0.0);
    EXPECT_EQ(p.inputGain.lr.m11, 0.0);
}

TEST(ParameterApplication, SwitchRule)
{
    struct Case
    {
        uint32_t id;
        bool SignalPath::*flag;
    };
    const Case cases[] = {{kBypass, &SignalPath::bypass},
                          {kScope, &SignalPath::scopeOn},
                          {kInputFormat, &SignalPath::inputMS},
                          {kOutputFormat, &SignalPath::outputMS}};
    for (const Case& c : cases)
    {
        SignalPath p;
        p.applyParameter(c.id, 0.4999);
        EXPECT_FALSE(p.*c.flag) << c.id;
        p.applyParameter(c.id, 0.5);
        EXPECT_TRUE(p.*c.flag) << c.id;
        p.applyParameter(c.id, 0.0);
        EXPECT_FALSE(p.*c.flag) << c.id;
    }
    SignalPath p;
    p.applyParameter(kMuteLeft, 0.4999);
    p.applyParameter(kInvertRight, 0.4999);
    EXPECT_FALSE(p.inputGain.muteL);
    EXPECT_FALSE(p.inputGain.invertR);
    p.applyParameter(kMuteLeft, 0.5);
    p.applyParameter(kMuteRight, 1.0);
    p.applyParameter(kInvertLeft, 0.75);
    p.applyParameter(kInvertRight, 0.5);
    EXPECT_TRUE(p.inputGain.muteL && p.inputGain.muteR && p.inputGain.invertL && p.inputGain.invertR);
    EXPECT_EQ(p.inputGain.lr, StereoMatrix::zero());
}

TEST(ParameterApplication, AngleRule)
{
    struct Case
    {
        double v;
        long double angle;
    };
    const Case cases[] = {{0.0, kRefPi / 4}, {0.25, kRefPi / 8}, {0.5, 0.0L}, {1.0, -kRefPi / 4}};
    for (const Case& c : cases)
    {
        SignalPath p;
        p.applyParameter(kLeftPan, c.v);
        p.applyParameter(kRightPan, c.v);
        p.applyParameter(kBalance, c.v);
        p.applyParameter(kAsymmetry, c.v);
        p.applyParameter(kHpPan, c.v);
        p.applyParameter(kLpPan, c.v);
        for (double a : {p.inputPans.angleL, p.inputPans.angleR, p.balance.angle, p.asymmetry.angle,
                         p.highPan.angle, p.lowPan.angle})
            EXPECT_NEAR(a, double(c.angle), 1e-16) << c.v;
    }
}

TEST(ParameterApplication, WidthRule)
{
    SignalPath p;
    p.applyParameter(kHpWidth, 0.0);
    EXPECT_MATRIX_NEAR(p.highWidth.lr, (RefMatrix{0.5L, 0.5L, 0.5L, 0.5L}), 1e-16);
    p.applyParameter(kHpWidth, 0.5);
    EXPECT_EQ(p.highWidth.lr, StereoMatrix::identity());
    p.applyParameter(kLpWidth, 1.0);
    EXPECT_NEAR(p.lowWidth.gainM, 0.0, 1e-16);
    EXPECT_NEAR(p.lowWidth.gainS, 3.0, 1e-15);
    p.applyParameter(kLpWidth, 0.75); // a = pi/4
    EXPECT_NEAR(p.lowWidth.gainM, double(1.0L / kRefSqrt2), 1e-15);
    EXPECT_NEAR(p.lowWidth.gainS, double(kRefSqrt2 + 1.0L), 1e-15);
    p.applyParameter(kLpWidth, 0.35);
    EXPECT_EQ(p.lowWidth.gainM, 1.0);
    EXPECT_NEAR(p.lowWidth.gainS, 0.7, 1e-16);
}

TEST(ParameterApplication, PanLawAndCrushGoToBothBandPansOnly)
{
    struct Case
    {
        double v, law;
    };
    for (const Case& c : {Case{0.0, 3.0}, Case{0.5, 4.5}, Case{1.0, 6.0}})
    {
        SignalPath p;
        p.applyParameter(kPanLaw, c.v);
        p.applyParameter(kPanCrush, c.v);
        EXPECT_DOUBLE_EQ(p.highPan.law, c.law);
        EXPECT_DOUBLE_EQ(p.lowPan.law, c.law);
        EXPECT_EQ(p.highPan.crush, c.v);
        EXPECT_EQ(p.lowPan.crush, c.v);
        EXPECT_EQ(p.inputPans.law, 4.5);
        EXPECT_EQ(p.balance.law, 4.5);
        EXPECT_EQ(p.asymmetry.law, 4.5);
        EXPECT_EQ(p.balance.crush, 1.0);
    }
    SignalPath p;
    p.applyParameter(kAsymmCrush, 0.3);
    EXPECT_EQ(p.asymmetry.crush, 0.3);
    EXPECT_EQ(p.highPan.crush, 1.0);
}

TEST(ParameterApplication, GainTrimAndMono)
{
    struct Case
    {
        double v;
        long double gain;
    };
    for (const Case& c : {Case{0.0, dbToGain(-6.0L)}, Case{0.5, 1.0L}, Case{1.0, dbToGain(6.0L)}})
    {
        SignalPath p;
        p.applyParameter(kGainTrim, c.v);
        EXPECT_NEAR(p.output.gain, double(c.gain), 1e-15) << c.v;
    }
    SignalPath p;
    p.applyParameter(kGainTrim, 1.0);
    p.applyParameter(kHpWidth, 1.0); // widths act on the bands, not the output
    p.applyParameter(kMono, 0.5);
    EXPECT_EQ(p.output.gainS, 0.0);
    const long double half = 0.5L * dbToGain(6.0L);
    EXPECT_MATRIX_NEAR(p.output.lr, (RefMatrix{half, half, half, half}), 1e-15);
    p.applyParameter(kMono, 0.4999);
    EXPECT_EQ(p.output.gainS, 1.0);
}

TEST(ParameterApplication, ThreeWayListsAndCrossoverSlope)
{
    struct Case
    {
        double v;
        uint32_t index;
    };
    for (const Case& c : {Case{0.0, 0}, Case{0.3333, 0}, Case{0.3334, 1}, Case{0.6666, 1}, Case{0.6667, 2},
                          Case{1.0, 2}})
    {
        SignalPath p;
        p.applyParameter(kSolo, c.v);
        EXPECT_EQ(p.solo, c.index) << c.v;
        p.applyParameter(kCrossover, c.v);
        EXPECT_EQ(p.crossoverOn, c.index != 0) << c.v;
        EXPECT_EQ(p.crossover.lr4, c.index == 2 ? 1 : 0) << c.v;
    }
}

TEST(ParameterApplication, CrossoverOffKeepsSlopeAndStates)
{
    SignalPath p;
    ASSERT_TRUE(p.crossover.prepare(64, 44100));
    p.applyParameter(kCrossover, 1.0); // LR-4
    double left[64], right[64];
    for (int i = 0; i < 64; ++i)
        left[i] = right[i] = std::sin(i * 0.1);
    p.crossover.split(64, left, right);
    const double stateBefore = p.crossover.lowA.channelState[0].w1;
    ASSERT_NE(stateBefore, 0.0);

    p.applyParameter(kCrossover, 0.0); // OFF: slope stays
    EXPECT_FALSE(p.crossoverOn);
    EXPECT_EQ(p.crossover.lr4, 1);
    p.applyParameter(kCrossover, 1.0); // LR-4 again: no retune, no clearing
    EXPECT_TRUE(p.crossoverOn);
    EXPECT_EQ(p.crossover.lowA.channelState[0].w1, stateBefore);
    p.applyParameter(kCrossover, 0.5); // LR-2 clears every filter
    EXPECT_EQ(p.crossover.lr4, 0);
    for (const auto* f : {&p.crossover.lowA, &p.crossover.lowB})
        EXPECT_EQ(f->channelState[0].w1, 0.0);
    for (const auto* f : {&p.crossover.highA, &p.crossover.highB})
        EXPECT_EQ(f->channelState[1].w2, 0.0);
}

TEST(ParameterApplication, CrossoverFrequencyInWholeHertz)
{
    struct Case
    {
        double v;
        uint32_t low, high; // accepted range: a value exactly on a whole hertz may land one below
    };
    const Case cases[] = {
        {0.0, 100, 100}, {0.2, 151, 151}, {0.5, 282, 282}, {0.935785, 700, 700},
        {0.528320833573719, 299, 300}, {1.0, 799, 800},
    };
    for (const Case& c : cases)
    {
        SignalPath p;
        p.applyParameter(kCrossoverFreq, c.v);
        EXPECT_GE(p.crossover.frequency, c.low) << c.v;
        EXPECT_LE(p.crossover.frequency, c.high) << c.v;
        // the whole-hertz value is the floor of 100 * 8^v
        const long double hz = 100.0L * std::pow(8.0L, static_cast<long double>(c.v));
        EXPECT_LE(std::fabs(static_cast<long double>(p.crossover.frequency) - std::floor(hz)), 1.0L) << c.v;
        EXPECT_EQ(p.crossover.lowA.params[2], double(p.crossover.frequency));
    }
}

TEST(ParameterApplication, CrossoverFrequencyAlwaysRestartsTheGlide)
{
    SignalPath p;
    ASSERT_TRUE(p.crossover.prepare(16, 44100));
    EXPECT_EQ(p.crossover.lowA.smoothingLeft, 0);
    p.applyParameter(kCrossoverFreq, 0.528320833573719); // the frequency it already has
    EXPECT_EQ(p.crossover.lowA.smoothingLeft, 256);
    EXPECT_EQ(p.crossover.highB.smoothingLeft, 256);
}

TEST(ParameterApplication, OutOfRangeValuesAreClamped)
{
    struct Case
    {
        uint32_t id;
        double outside, edge;
    };
    const Case cases[] = {
        {kBalance, 1.7, 1.0},       {kBalance, -0.5, 0.0},    {kLeftGain, 3.0, 1.0},   {kLeftGain, -1.0, 0.0},
        {kHpWidth, 2.0, 1.0},       {kHpWidth, -2.0, 0.0},    {kPanLaw, 5.0, 1.0},     {kPanCrush, -1.0, 0.0},
        {kGainTrim, 9.0, 1.0},      {kSolo, -0.2, 0.0},       {kCrossover, -3.0, 0.0}, {kCrossoverFreq, 4.0, 1.0},
        {kCrossoverFreq, -1.0, 0.0}, {kAsymmCrush, 1.5, 1.0}, {kLpPan, -7.0, 0.0},
    };
    for (const Case& c : cases)
    {
        SignalPath outside, edge;
        outside.applyParameter(c.id, c.outside);
        edge.applyParameter(c.id, c.edge);
        EXPECT_TRUE(Snapshot(outside) == Snapshot(edge)) << c.id << " " << c.outside;
    }
}

TEST(ParameterApplication, NonFiniteValuesAndUnknownIdsChangeNothing)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SignalPath p;
    p.applyParameter(kBalance, 0.3);
    p.applyParameter(kLpWidth, 0.8);
    const Snapshot before(p);
    for (uint32_t id = kBypass; id < kNumParams; ++id)
        for (double v : {nan, inf, -inf})
            p.applyParameter(id, v);
    for (double v : {0.0, 0.3, 1.0})
    {
        p.applyParameter(kProgSel, v);
        p.applyParameter(kNumParams, v);
        p.applyParameter(1000, v);
    }
    EXPECT_TRUE(Snapshot(p) == before);
}

TEST(ParameterApplication, BandMatricesFollowTheSettings)
{
    SignalPath p;
    StereoMatrix high, low;
    p.buildBandMatrices(high, low);
    EXPECT_EQ(high, StereoMatrix::identity());
    EXPECT_EQ(low, StereoMatrix::identity());

    p.applyParameter(kHpWidth, 0.0); // high band mono
    p.applyParameter(kLpGain, 0.5);  // low band -12 dB
    p.applyParameter(kInputFormat, 1.0);
    p.buildBandMatrices(high, low);
    const long double quiet = dbToGain(-12.0L);
    // mid/side in: L = M + S, R = M - S; then the high band folds to the mid (M, M)
    EXPECT_MATRIX_NEAR(high, (RefMatrix{1, 1, 0, 0}), 1e-15);
    EXPECT_MATRIX_NEAR(low, (RefMatrix{quiet, quiet, quiet, -quiet}), 1e-15);

    p.applyParameter(kOutputFormat, 1.0);
    p.buildBandMatrices(high, low);
    EXPECT_MATRIX_NEAR(high, (RefMatrix{1, 0, 0, 0}), 1e-15);
    EXPECT_MATRIX_NEAR(low, (RefMatrix{quiet, 0, 0, quiet}), 1e-15);
}
