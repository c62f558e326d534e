// The VST 2 entry when the environment restricts the processor to one sample
// size (Kalvior_FORCE_SAMPLESIZE, read when the module first initialises).
// CTest runs this program once with "32BIT" and once with "64BIT".

#include "tests/support/Noise.h"
#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

class SampleSizeOverride : public OpenedEffect
{
protected:
    void SetUp() override
    {
        const char* value = std::getenv("Kalvior_FORCE_SAMPLESIZE");
        ASSERT_TRUE(value && (std::strcmp(value, "32BIT") == 0 || std::strcmp(value, "64BIT") == 0))
            << "run with Kalvior_FORCE_SAMPLESIZE set to 32BIT or 64BIT";
        only64Bit = std::strcmp(value, "64BIT") == 0;
        OpenedEffect::SetUp();
    }

    // One call of 512 frames of noise on both channels, in place; the energy
    // of the output, NaN if any sample is not finite.
    template <typename Sample>
    double energyOfOneCall()
    {
        KalviorTest::Noise noise;
        std::vector<Sample> channels[2] = {std::vector<Sample>(512), std::vector<Sample>(512)};
        for (size_t i = 0; i < 512; ++i)
            channels[0][i] = channels[1][i] = static_cast<Sample>(noise.next());
        Sample* io[2] = {channels[0].data(), channels[1].data()};
        if constexpr (sizeof(Sample) == sizeof(double))
            effect->effect->processDoubleReplacing(effect->effect, io, io, 512);
        else
            effect->effect->processReplacing(effect->effect, io, io, 512);
        double energy = 0.0;
        for (const std::vector<Sample>& channel : channels)
            for (Sample sample : channel)
                energy += std::isfinite(sample) ? double(sample) * sample : NAN;
        return energy;
    }

    bool only64Bit = false;
};

TEST_F(SampleSizeOverride, FlagsAndPrecisionFollowTheProcessor)
{
    EXPECT_EQ(bool(effect->effect->flags & V2::effFlagsCanDoubleReplacing), only64Bit);
    EXPECT_EQ(effect->dispatch(V2::effSetProcessPrecision, 0, V2::kProcessPrecision64), only64Bit ? 1 : 0);
    EXPECT_EQ(effect->dispatch(V2::effSetProcessPrecision, 0, V2::kProcessPrecision32), only64Bit ? 0 : 1);
}

// Whatever call the host makes, and whatever precision it asked for, the
// audio goes through the one sample size the processor accepts.
TEST_F(SampleSizeOverride, BothHostCallsProcess)
{
    for (bool hostDouble : {false, true})
    {
        effect->dispatch(V2::effMainsChanged, 0, 0);
        effect->start(48000.f, 512, hostDouble);
        const double energy = hostDouble ? energyOfOneCall<double>() : energyOfOneCall<float>();
        EXPECT_GT(energy, 50.0) << (hostDouble ? "double host" : "float host"); // about 512 * 2 / 3 * 2 / 2
    }
}

} // namespace
