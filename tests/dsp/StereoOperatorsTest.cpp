#include "StereoReference.h"
#include "dsp/DualPan.h"
#include "dsp/Gain.h"
#include "dsp/Pan.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Stereo;

namespace {

constexpr double kTight = 1e-15; // a few ulps of values near 1
constexpr double kQuarter = 0.7853981633974483;

} // namespace

TEST(StereoOperators, GainLRMuteWinsOverInvert)
{
    GainLR g;
    g.setGainL(0.7, false);
    g.setMuteL(true, false);
    g.setInvertL(true, true);
    EXPECT_EQ(g.lr.m00, 0.0);
    g.setMuteL(false, false);
    g.setGain(2.0, true);
    EXPECT_EQ(g.lr.m00, -1.4);
    EXPECT_EQ(g.lr.m11, 2.0);
    EXPECT_EQ(g.lr.m01, 0.0);
    EXPECT_EQ(g.lr.m10, 0.0);
}

TEST(StereoOperators, BalanceHardPositions)
{
    struct Case
    {
        double angle, law;
        long double m00, m11;
    };
    const long double raise45 = std::pow(10.0L, 1.5L / 20.0L) * kRefSqrt2; // +4.51 dB
    const Case cases[] = {
        {-kQuarter, 4.5, 0.0L, raise45}, {-kQuarter, 3.0, 0.0L, kRefSqrt2},
        {kQuarter, 4.5, raise45, 0.0L},  {kQuarter, 6.0, std::pow(10.0L, 3.0L / 20.0L) * kRefSqrt2, 0.0L},
        {0.0, 6.0, 1.0L, 1.0L},
    };
    for (const Case& c : cases)
    {
        Balance b;
        b.setLaw(c.law);
        b.setAngle(c.angle);
        EXPECT_NEAR(b.lr.m00, double(c.m00), 1e-15) << c.angle << " " << c.law;
        EXPECT_NEAR(b.lr.m11, double(c.m11), 1e-15) << c.angle << " " << c.law;
    }
    Balance b;
    b.setAngle(-kQuarter);
    EXPECT_NEAR(b.lr.m11, 1.68080, 5e-6);
}

TEST(StereoOperators, ShearBalanceExamples)
{
    struct Case
    {
        double s, crush;
        RefMatrix ms, lr;
    };
    const Case cases[] = {
        {0.5, 1.0, {1, 0, 0.5L, 0.5L}, {1, 0.5L, 0, 0.5L}},
        {1.0, 1.0, {1, 0, 1, 0}, {1, 1, 0, 0}},
        {-1.0, 1.0, {1, 0, -1, 0}, {0, 0, 1, 1}},
        {1.0, 0.0, {1, 0, 1, 1}, {1.5L, 0.5L, -0.5L, 0.5L}},
    };
    for (const Case& c : cases)
    {
        ShearBalance op;
        op.setCrush(c.crush);
        op.setAngle(c.s * kQuarter);
        EXPECT_MATRIX_NEAR(op.ms, c.ms, kTight);
        EXPECT_MATRIX_NEAR(op.lr, c.lr, kTight);
    }
}

TEST(StereoOperators, HybridPanAtCentreAndAtTheLimitingLaws)
{
    const double constantSumLaw = 3.0 + 20.0 * std::log10(std::sqrt(2.0));
    const long double h = 1.0L / kRefSqrt2;
    for (double law : {3.0, 4.5, 6.0})
        for (double crush : {0.0, 0.3, 1.0})
        {
            HybridPan p; // at the centre: no change whatever the law and crush
            p.setLaw(law);
            p.setCrush(crush);
            p.setAngle(0.0);
            EXPECT_MATRIX_NEAR(p.lr, kRefIdentity, kTight);
        }
    for (double angle : {-kQuarter, -0.6, -0.1, 0.25, 0.7, kQuarter})
    {
        SCOPED_TRACE(angle);
        const long double a = angle;
        HybridPan power; // constant power: a rotation
        power.setLaw(3.0);
        power.setCrush(0.0);
        power.setAngle(angle);
        EXPECT_MATRIX_NEAR(power.lr, (RefMatrix{std::cos(a), -std::sin(a), std::sin(a), std::cos(a)}), 1e-15);
        HybridPan sum; // constant sum: a shear, the side gains tan(angle) of the mid
        sum.setLaw(constantSumLaw);
        sum.setCrush(0.0);
        sum.setAngle(angle);
        EXPECT_MATRIX_NEAR(sum.ms, (RefMatrix{1, std::tan(a), 0, 1}), 1e-14);
    }
    HybridPan crushed; // crushed hard pan keeps only the mid
    crushed.setLaw(3.0);
    crushed.setCrush(1.0);
    crushed.setAngle(kQuarter);
    EXPECT_MATRIX_NEAR(crushed.lr, (RefMatrix{h, 0, h, 0}), 1e-15);
}

TEST(StereoOperators, DualPanCentresAndRows)
{
    DualPan centre;
    centre.setAngles(0.0, 0.0);
    // law 4.5 attenuates the centre: cos(pi/4) * ((1/sqrt2 - 1) b + 1)
    const long double entry = std::cos(kRefPi / 4) * ((1.0L / kRefSqrt2 - 1.0L) * refBlend(4.5L) + 1.0L);
    EXPECT_MATRIX_NEAR(centre.lr, (RefMatrix{entry, entry, entry, entry}), 1e-15);
    EXPECT_NEAR(centre.lr.m00, 0.61286, 5e-6);
    centre.setLaw(3.0);
    const long double half = 1.0L / kRefSqrt2;
    EXPECT_MATRIX_NEAR(centre.lr, (RefMatrix{half, half, half, half}), 1e-15);

    DualPan same;
    same.setAngles(0.3, 0.3);
    EXPECT_EQ(same.lr.m00, same.lr.m10);
    EXPECT_EQ(same.lr.m01, same.lr.m11);

    DualPan hard; // defaults: left hard left, right hard right, unity there
    hard.setLaw(6.0);
    EXPECT_MATRIX_NEAR(hard.lr, kRefIdentity, 1e-15);
}

TEST(StereoOperators, LawBlendEndPoints)
{
    EXPECT_NEAR(lawBlend(3.0), 0.0, 1e-16);
    EXPECT_NEAR(lawBlend(3.0 + 20.0 * std::log10(std::sqrt(2.0))), 1.0, 1e-14);
    EXPECT_NEAR(lawBlend(4.5), double(refBlend(4.5L)), 1e-15);
    EXPECT_NEAR(lawBlend(4.5), 0.45508, 5e-6);
}
