#include "StereoReference.h"
#include "dsp/filters/Butterworth.h"
#include "dsp/filters/DirectFormII.h"
#include "dsp/filters/SmoothedFilterDesign.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Dsp;

namespace {

using LowPass = SmoothedFilterDesign<Butterworth::Design::LowPass<2>, 2, DirectFormII>;
using HighPass = SmoothedFilterDesign<Butterworth::Design::HighPass<2>, 2, DirectFormII>;

void assign(Filter& f, double sampleRate, double order, double cutoff)
{
    const double params[Filter::kMaxParams] = {sampleRate, order, cutoff};
    f.assignParams(params);
}

struct Coefficients
{
    long double a1, a2, b0, b1, b2;
};

// Bilinear-transform Butterworth sections in closed form, K = tan(pi fc / fs).
Coefficients closedForm(bool highPass, int order, long double fs, long double fc)
{
    const long double k = std::tan(kRefPi * fc / fs);
    if (order == 1)
    {
        const long double a1 = (k - 1) / (k + 1);
        if (highPass) // this form of the order-1 high-pass has gain -1 at Nyquist
            return {a1, 0, -1 / (1 + k), 1 / (1 + k), 0};
        return {a1, 0, k / (1 + k), k / (1 + k), 0};
    }
    const long double norm = 1 / (1 + kRefSqrt2 * k + k * k);
    const long double a1 = 2 * (k * k - 1) * norm;
    const long double a2 = (1 - kRefSqrt2 * k + k * k) * norm;
    if (highPass)
        return {a1, a2, norm, -2 * norm, norm};
    return {a1, a2, k * k * norm, 2 * k * k * norm, k * k * norm};
}

void expectSection(const SecondOrderSection& s, const Coefficients& c, double tolerance)
{
    EXPECT_EQ(s.a0, 1.0);
    EXPECT_NEAR(s.a1, double(c.a1), tolerance);
    EXPECT_NEAR(s.a2, double(c.a2), tolerance);
    EXPECT_NEAR(s.b0, double(c.b0), tolerance);
    EXPECT_NEAR(s.b1, double(c.b1), tolerance);
    EXPECT_NEAR(s.b2, double(c.b2), tolerance);
}

} // namespace

TEST(ButterworthDesign, SectionsMatchClosedFormsAcrossRates)
{
    for (double fs : {44100.0, 48000.0, 96000.0, 192000.0})
        for (double fc : {100.0, 151.0, 300.0, 799.0, 800.0})
            for (int order : {1, 2})
            {
                LowPass low;
                HighPass high;
                assign(low, fs, order, fc);
                assign(high, fs, order, fc);
                SCOPED_TRACE(testing::Message() << fs << " Hz, " << fc << " Hz, order " << order);
                expectSection(low.design.chain.sections[0], closedForm(false, order, fs, fc), 1e-13);
                expectSection(high.design.chain.sections[0], closedForm(true, order, fs, fc), 1e-13);
            }
}
