// The VST 2 entry when the environment restricts the processor to one sample
// size (Kalvior_FORCE_SAMPLESIZE, read when the module first initialises).
// CTest runs this program once with "32BIT" and once with "64BIT".

#include "tests/vst2/Vst2Render.h"
#include "tests/vst2/Vst2TestHost.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

bool only64Bit()
{
    const char* value = std::getenv("Kalvior_FORCE_SAMPLESIZE");
    return value && std::strcmp(value, "64BIT") == 0;
}

class SampleSizeOverride : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* value = std::getenv("Kalvior_FORCE_SAMPLESIZE");
        ASSERT_TRUE(value && (std::strcmp(value, "32BIT") == 0 || std::strcmp(value, "64BIT") == 0))
            << "run with Kalvior_FORCE_SAMPLESIZE set to 32BIT or 64BIT";
        ASSERT_TRUE(Module::get().handle) << Module::get().error;
    }
};

TEST_F(SampleSizeOverride, FlagsAndPrecisionFollowTheProcessor)
{
    Host host;
    auto effect = open(host);
    ASSERT_TRUE(effect);
    EXPECT_EQ(bool(effect->effect->flags & V2::effFlagsCanDoubleReplacing), only64Bit());
    EXPECT_EQ(effect->dispatch(V2::effSetProcessPrecision, 0, V2::kProcessPrecision64), only64Bit() ? 1 : 0);
    EXPECT_EQ(effect->dispatch(V2::effSetProcessPrecision, 0, V2::kProcessPrecision32), only64Bit() ? 0 : 1);
}

// Whatever call the host makes, the audio goes through the one sample size
// the processor accepts, converted on the way in and out.
TEST_F(SampleSizeOverride, BothHostCallsProcess)
{
    const int32 processorSize = only64Bit() ? Steinberg::Vst::kSample64 : Steinberg::Vst::kSample32;
    const std::vector<float> inL = noise(11), inR = noise(12);
    for (bool hostDouble : {false, true})
    {
        // The host asks for the precision it calls with; only one is accepted.
        const Scenario s{hostDouble ? "double host" : "float host", 48000.0, 512, {512}, hostDouble, hostDouble};
        const Stereo vst2 = renderVst2(s, inL, inR);
        const Stereo vst3 = renderVst3(s, inL, inR, processorSize);
        double energy = 0.0;
        EXPECT_EQ(countMismatches(s, vst2, vst3, &energy), 0) << s.name;
        EXPECT_GT(energy, 1.0) << s.name;
    }
}

} // namespace
