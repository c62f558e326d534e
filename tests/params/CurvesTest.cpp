// The value curves against closed forms computed here in long double.

#include "params/curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The lower fader branch dB = A ln(v + B) + C, solved independently from its
// three conditions: it meets the upper line (48 dB per unit, -12 dB at 0.5)
// with equal value and slope, and gives -70 dB at v = 0. Equal slope gives
// A = 48 (0.5 + B); the two values then give 48 (0.5 + B) ln((0.5 + B) / B) = 58.
struct FaderConstants
{
    long double a, b, c;
};

FaderConstants solveFader()
{
    auto excess = [](long double b) { return 48.0L * (0.5L + b) * std::log((0.5L + b) / b) - 58.0L; };
    long double lo = 1e-6L, hi = 1.0L; // excess falls from + to - over this range
    for (int i = 0; i < 200; ++i)
    {
        const long double mid = 0.5L * (lo + hi);
        (excess(mid) > 0 ? lo : hi) = mid;
    }
    const long double b = 0.5L * (lo + hi);
    const long double a = 48.0L * (0.5L + b);
    const long double c = -70.0L - a * std::log(b);
    return {a, b, c};
}

long double referenceDb(long double v)
{
    static const FaderConstants k = solveFader();
    if (v >= 0.5L)
        return (v - 0.5L) * 48.0L - 12.0L;
    return k.a * std::log(v + k.b) + k.c;
}

} // namespace

TEST(FaderCurve, ConstantsSolveTheirThreeConditions)
{
    const FaderConstants k = solveFader();
    EXPECT_NEAR(Curves::kFaderCurveScale, static_cast<double>(k.a), 1e-12);
    EXPECT_NEAR(Curves::kFaderCurveOffset, static_cast<double>(k.b), 1e-14);
    EXPECT_NEAR(Curves::kFaderCurveBias, static_cast<double>(k.c), 1e-12);
}

TEST(FaderCurve, DecibelsAcrossTheRange)
{
    // 0.4999999 just below the knee: the branches meet with equal value and slope
    for (double v : {0.0, 1e-9, 0.01, 0.1, 0.25, 0.4, 0.4999999, 0.5, 0.6, 0.75, 0.9, 1.0})
        EXPECT_NEAR(Curves::faderToDb(v), static_cast<double>(referenceDb(v)), 1e-9) << v;
    EXPECT_NEAR(Curves::faderToDb(0.25), -27.82, 0.005); // the published landmark
}

TEST(FaderCurve, GainIsSilenceOnlyAtZero)
{
    EXPECT_EQ(Curves::faderToGain(0.0), 0.0);
    EXPECT_NEAR(Curves::faderToGain(std::numeric_limits<double>::denorm_min()), std::pow(10.0L, -3.5L), 1e-12);
    EXPECT_NEAR(Curves::faderToGain(0.5), static_cast<double>(std::pow(10.0L, -0.6L)), 1e-15);
    EXPECT_NEAR(Curves::faderToGain(0.75), 1.0, 1e-15);
    EXPECT_NEAR(Curves::faderToGain(1.0), static_cast<double>(std::pow(10.0L, 0.6L)), 1e-14);
}

TEST(FaderCurve, DecibelsToNormalizedInvertsAndClamps)
{
    for (double v : {0.0, 0.05, 0.25, 0.5, 0.6, 0.75, 1.0})
        EXPECT_NEAR(Curves::dbToFader(Curves::faderToDb(v)), v, 1e-12) << v;
    EXPECT_NEAR(Curves::dbToFader(0.0), 0.75, 1e-15);
    EXPECT_EQ(Curves::dbToFader(20.0), 1.0);
    EXPECT_EQ(Curves::dbToFader(-100.0), 0.0);
}

TEST(FrequencyCurve, HundredTimesEightToTheValue)
{
    for (double v : {0.0, 0.2, 0.5, 0.528320833573719, 0.935785, 1.0})
        EXPECT_NEAR(Curves::logFrequency(v), static_cast<double>(100.0L * std::pow(8.0L, v)), 1e-9) << v;
    EXPECT_NEAR(Curves::logFrequency(0.528320833573719), 300.0, 1e-9);
    EXPECT_EQ(static_cast<int>(Curves::logFrequency(0.2)), 151);
    EXPECT_EQ(static_cast<int>(Curves::logFrequency(0.935785)), 700);
}

TEST(FrequencyCurve, HertzToNormalizedInvertsAndClamps)
{
    for (double hz : {100.0, 151.0, 300.0, 700.0, 800.0})
        EXPECT_NEAR(Curves::frequencyToNormalized(hz), static_cast<double>(std::log(hz / 100.0L) / std::log(8.0L)),
                    1e-14)
            << hz;
    EXPECT_EQ(Curves::frequencyToNormalized(50.0), 0.0);
    EXPECT_EQ(Curves::frequencyToNormalized(1000.0), 1.0);
    EXPECT_EQ(Curves::frequencyToNormalized(0.0), 0.0);
    EXPECT_EQ(Curves::frequencyToNormalized(-5.0), 0.0);
}

TEST(AngleCurve, HardLeftCentreHardRight)
{
    const long double quarterPi = std::atan(1.0L);
    for (double v : {0.0, 0.25, 0.5, 0.75, 1.0})
        EXPECT_NEAR(Curves::angle(v), static_cast<double>(quarterPi - v * 2.0L * quarterPi), 1e-15) << v;
}

TEST(ListRules, ThreeWayIndex)
{
    struct Case
    {
        double v;
        uint32_t index;
    };
    const Case cases[] = {{0.0, 0},    {0.3333, 0}, {0.3334, 1}, {0.5, 1},
                          {0.6666, 1}, {0.6667, 2}, {1.0, 2},    {1.5, 2},
                          {-0.1, 0},   {-0.5, 2},   {std::numeric_limits<double>::quiet_NaN(), 2}};
    for (const Case& c : cases)
        EXPECT_EQ(Curves::threeWayIndex(c.v), c.index) << c.v;
}

TEST(ListRules, SwitchesTurnOnAtOneHalfAndTrimIsSixDecibelsEachWay)
{
    EXPECT_FALSE(Curves::switchOn(0.4999));
    EXPECT_TRUE(Curves::switchOn(0.5));
    EXPECT_NEAR(Curves::trimToGain(0.0), static_cast<double>(std::pow(10.0L, -0.3L)), 1e-15);
    EXPECT_NEAR(Curves::trimToGain(0.5), 1.0, 1e-15);
    EXPECT_NEAR(Curves::trimToGain(1.0), static_cast<double>(std::pow(10.0L, 0.3L)), 1e-15);
}

TEST(Clamping, HostValuesIntoTheUnitRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Curves::clampNormalized(0.25, 0.5), 0.25);
    EXPECT_EQ(Curves::clampNormalized(1.5, 0.5), 1.0);
    EXPECT_EQ(Curves::clampNormalized(-1.0, 0.5), 0.0);
    EXPECT_EQ(Curves::clampNormalized(std::numeric_limits<double>::quiet_NaN(), 0.5), 0.5);
    EXPECT_EQ(Curves::clampNormalized(inf, 0.5), 0.5);
    EXPECT_EQ(Curves::clampNormalized(-inf, 0.5), 0.5);
}
