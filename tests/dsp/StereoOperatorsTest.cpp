#include "StereoReference.h"
#include "dsp/BandMatrices.h"
#include "dsp/DualPan.h"
#include "dsp/Gain.h"
#include "dsp/Pan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

using namespace Stereo;

namespace {

constexpr double kTight = 1e-15; // a few ulps of values near 1
constexpr double kQuarter = 0.7853981633974483;

// The operator in its other form, from the one its class defines.
RefMatrix msOf(const StereoMatrix& lr)
{
    return kRefToLR * ref(lr) * kRefToMS;
}

} // namespace

TEST(StereoMatrix, RowVectorConventionAndConstants)
{
    static_assert(alignof(StereoMatrix) == 16, "rows load as pairs");
    const StereoMatrix m(1, 2, 3, 4);
    // [1 0] * M is the first row: the left input feeds outL by m00 and outR by m01
    const StereoMatrix leftOnly = StereoMatrix(1, 0, 0, 0) * m;
    EXPECT_EQ(leftOnly, StereoMatrix(1, 2, 0, 0));
    EXPECT_EQ(StereoMatrix::toMS() * StereoMatrix::toLR(), StereoMatrix::identity());
    EXPECT_EQ(StereoMatrix::toLR() * StereoMatrix::toMS(), StereoMatrix::identity());
    EXPECT_EQ(m + m - m, m);
    EXPECT_EQ(m / 2.0, StereoMatrix(0.5, 1, 1.5, 2));
    EXPECT_EQ(StereoMatrix::zero(), StereoMatrix(0, 0, 0, 0));
    // A * B: A acts first
    const StereoMatrix swap(0, 1, 1, 0), scaleLeft(2, 0, 0, 1);
    EXPECT_EQ(swap * scaleLeft, StereoMatrix(0, 1, 2, 0));
}

TEST(StereoOperators, DefaultsUpdateToIdentity)
{
    std::vector<std::unique_ptr<StereoOp>> ops;
    ops.emplace_back(new GainLR);
    ops.emplace_back(new GainMS);
    ops.emplace_back(new Balance);
    ops.emplace_back(new ShearBalance);
    ops.emplace_back(new HybridPan);
    ops.emplace_back(new DualPan);
    for (auto& op : ops)
    {
        EXPECT_EQ(op->lr, StereoMatrix::identity()); // before any update
        op->update();
        EXPECT_MATRIX_NEAR(op->lr, kRefIdentity, kTight);
        EXPECT_MATRIX_NEAR(op->ms, kRefIdentity, kTight);
    }
}

TEST(StereoOperators, MidSideFormStaysConsistent)
{
    GainLR gainLR;
    gainLR.setGainL(0.3, false);
    gainLR.setInvertR(true, false);
    gainLR.setGain(1.7, true);
    GainMS gainMS;
    gainMS.setGainM(0.8, false);
    gainMS.setGainS(2.2, false);
    gainMS.setGain(0.6, true);
    Balance balance;
    balance.setAngle(0.4);
    ShearBalance shear;
    shear.setAngle(-0.5);
    shear.setCrush(0.3);
    HybridPan hybrid;
    hybrid.setAngle(0.2);
    hybrid.setLaw(5.1);
    hybrid.setCrush(0.6);
    DualPan dual;
    dual.setAngles(0.5, -0.1);
    dual.setLaw(3.7);
    const StereoOp* ops[] = {&gainLR, &gainMS, &balance, &shear, &hybrid, &dual};
    for (const StereoOp* op : ops)
        EXPECT_MATRIX_NEAR(op->ms, msOf(op->lr), 1e-15);
}

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

TEST(StereoOperators, GainSettersDeferUpdateUntilAsked)
{
    GainMS g;
    g.setGainS(0.0, false);
    EXPECT_EQ(g.lr, StereoMatrix::identity());
    g.setGain(1.0, true);
    // mono: both outputs carry the mid
    EXPECT_MATRIX_NEAR(g.lr, (RefMatrix{0.5L, 0.5L, 0.5L, 0.5L}), kTight);
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
        {-kQuarter, 4.5, 0.0L, raise45},
        {-kQuarter, 3.0, 0.0L, kRefSqrt2},
        {kQuarter, 4.5, raise45, 0.0L},
        {kQuarter, 6.0, std::pow(10.0L, 3.0L / 20.0L) * kRefSqrt2, 0.0L},
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

TEST(StereoOperators, HybridPanIsIdentityAtCentre)
{
    for (double law : {3.0, 4.5, 6.0})
        for (double crush : {0.0, 0.3, 1.0})
        {
            HybridPan p;
            p.setLaw(law);
            p.setCrush(crush);
            p.setAngle(0.0);
            EXPECT_MATRIX_NEAR(p.lr, kRefIdentity, kTight);
        }
}

TEST(StereoOperators, HybridPanConstantPowerIsRotation)
{
    for (double angle : {-kQuarter, -0.5, -0.1, 0.25, kQuarter})
    {
        HybridPan p;
        p.setLaw(3.0);
        p.setCrush(0.0);
        p.setAngle(angle);
        const long double c = std::cos(static_cast<long double>(angle));
        const long double s = std::sin(static_cast<long double>(angle));
        SCOPED_TRACE(angle);
        EXPECT_MATRIX_NEAR(p.lr, (RefMatrix{c, -s, s, c}), 1e-15);
    }
}

TEST(StereoOperators, HybridPanConstantSumIsShear)
{
    const double constantSumLaw = 3.0 + 20.0 * std::log10(std::sqrt(2.0));
    for (double angle : {-0.6, -0.2, 0.3, 0.7})
    {
        HybridPan p;
        p.setLaw(constantSumLaw);
        p.setCrush(0.0);
        p.setAngle(angle);
        // the mid passes, the side gains tan(angle) of the mid
        const long double t = std::tan(static_cast<long double>(angle));
        SCOPED_TRACE(angle);
        EXPECT_MATRIX_NEAR(p.ms, (RefMatrix{1, t, 0, 1}), 1e-14);
    }
}

TEST(StereoOperators, HybridPanCrushedHardPanKeepsOnlyTheMid)
{
    HybridPan p;
    p.setLaw(3.0);
    p.setCrush(1.0);
    p.setAngle(kQuarter);
    const long double h = 1.0L / kRefSqrt2;
    EXPECT_MATRIX_NEAR(p.lr, (RefMatrix{h, 0, h, 0}), 1e-15);
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
    EXPECT_EQ(kSqrt2, std::sqrt(2.0));
}

namespace {

struct Operators
{
    GainLR inputGain;
    DualPan inputPans;
    Balance balance;
    ShearBalance asymmetry;
    GainMS width;
    HybridPan pan;
    GainMS output;

    BandOperators view() const { return {inputGain, inputPans, balance, asymmetry, width, pan, output}; }

    RefMatrix reference() const
    {
        return ref(inputGain.lr) * ref(inputPans.lr) * ref(balance.lr) * ref(asymmetry.lr) * ref(width.lr) *
               ref(pan.lr) * ref(output.lr);
    }
};

} // namespace

TEST(BandMatrices, ProductOfOperatorsInSignalOrderWithFormats)
{
    Operators ops;
    ops.inputGain.setGainL(0.8, true);
    ops.inputGain.setInvertR(true, true);
    ops.inputPans.setAngles(0.6, -0.2);
    ops.balance.setAngle(-0.3);
    ops.asymmetry.setAngle(0.4);
    ops.width.setGainS(1.6, true);
    ops.pan.setAngle(-0.1);
    ops.output.setGain(1.3, true);

    const RefMatrix t = ops.reference();
    EXPECT_MATRIX_NEAR(buildBandMatrix(ops.view(), false, false), t, 1e-14);
    EXPECT_MATRIX_NEAR(buildBandMatrix(ops.view(), true, false), kRefToLR * t, 1e-14);
    EXPECT_MATRIX_NEAR(buildBandMatrix(ops.view(), false, true), t * kRefToMS, 1e-14);
    EXPECT_MATRIX_NEAR(buildBandMatrix(ops.view(), true, true), kRefToLR * t * kRefToMS, 1e-14);
}

TEST(BandMatrices, DefaultsPassAndFormatsRoundTrip)
{
    Operators ops;
    EXPECT_EQ(buildBandMatrix(ops.view(), false, false), StereoMatrix::identity());
    EXPECT_EQ(buildBandMatrix(ops.view(), true, true), StereoMatrix::identity());
    // mid/side in, left/right out: L = M + S, R = M - S
    EXPECT_EQ(buildBandMatrix(ops.view(), true, false), StereoMatrix::toLR());
}
