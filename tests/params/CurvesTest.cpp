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
    auto excess = [](long double b)
    {
        return 48.0L * (0.5L + b) * std::log((0.5L + b) / b) - 58.0L;
    };
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

// The processor's slope and solo choice at any value a host sends; the
// controller's texts (list entries by truncation) must agree with it.
TEST(ListRules, ThreeWayIndex)
{
    const std::pair<double, uint32_t> cases[] = {{0.0, 0},    {0.3333, 0}, {0.3334, 1}, {0.5, 1},
                                                 {0.6666, 1}, {0.6667, 2}, {1.0, 2},    {1.5, 2},
                                                 {-0.1, 0},   {-0.5, 2},   {NAN, 2}};
    for (const auto& [v, index] : cases)
        EXPECT_EQ(Curves::threeWayIndex(v), index) << v;
}
