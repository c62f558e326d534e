// The operators' written-out form conversions give exactly the bits of the
// matrix products they stand for (the chain relies on those bits).

#include "dsp/DualPan.h"
#include "dsp/Gain.h"
#include "dsp/Pan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

bool sameBits(const StereoMatrix& a, const StereoMatrix& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(OperatorForms, ConversionsKeepTheBitsOfTheProducts)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> gain(-4.0, 4.0), angle(-0.785, 0.785), unit(0.0, 1.0);
    for (int i = 0; i < 2000; ++i)
    {
        Stereo::GainLR gainLR;
        gainLR.setGainL(gain(rng), false);
        gainLR.setInvertR(i % 3 == 0, false);
        gainLR.setGainR(i % 7 == 0 ? -0.0 : gain(rng), true);
        EXPECT_TRUE(sameBits(gainLR.ms, StereoMatrix::toLR() * gainLR.lr * StereoMatrix::toMS())) << i;

        Stereo::GainMS gainMS;
        gainMS.setGainM(gain(rng), false);
        gainMS.setGainS(gain(rng), true);
        EXPECT_TRUE(sameBits(gainMS.lr, StereoMatrix::toMS() * gainMS.ms * StereoMatrix::toLR())) << i;

        Stereo::Balance balance;
        balance.setAngle(angle(rng));
        EXPECT_TRUE(sameBits(balance.ms, StereoMatrix::toLR() * balance.lr * StereoMatrix::toMS())) << i;

        Stereo::HybridPan pan;
        pan.setCrush(unit(rng));
        pan.setLaw(3.0 + 3.0 * unit(rng));
        pan.setAngle(angle(rng));
        EXPECT_TRUE(sameBits(pan.lr, StereoMatrix::toMS() * pan.ms * StereoMatrix::toLR())) << i;

        Stereo::DualPan dual;
        dual.setAngles(angle(rng), angle(rng));
        EXPECT_TRUE(sameBits(dual.ms, StereoMatrix::toLR() * dual.lr * StereoMatrix::toMS())) << i;
    }
}
