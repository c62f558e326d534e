// Audio through the VST 2 entry, compared sample by sample with the same
// module driven as a VST 3 host drives it: same settings, same input, same
// parameter changes at the same blocks. Both paths run the same processor
// code, so the outputs must be identical (tolerance 0); where the VST 2 host's
// sample size differs from the processor's, the expected output is the VST 3
// output converted the same way (a float or double cast per sample).

#include "tests/vst2/Vst2Render.h"
#include "tests/vst2/Vst2TestHost.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

class Vst2MatchesVst3 : public ::testing::TestWithParam<Scenario>
{
protected:
    void SetUp() override { ASSERT_TRUE(Module::get().handle) << Module::get().error; }
};

TEST_P(Vst2MatchesVst3, SampleBySample)
{
    const Scenario& s = GetParam();
    const std::vector<float> inL = noise(1), inR = noise(2);
    const Stereo vst2 = renderVst2(s, inL, inR);
    const int32 processorSize = s.processorDouble ? Steinberg::Vst::kSample64 : Steinberg::Vst::kSample32;
    const Stereo vst3 = renderVst3(s, inL, inR, processorSize);
    ASSERT_EQ(vst2.l.size(), static_cast<size_t>(kFrames));
    ASSERT_EQ(vst3.l.size(), static_cast<size_t>(kFrames));

    double energy = 0.0;
    EXPECT_EQ(countMismatches(s, vst2, vst3, &energy), 0) << s.name;
    EXPECT_GT(energy, 1.0) << "the comparison ran on silence";
}

const Scenario kScenarios[] = {
    {"64-bit processor, double host", 48000.0, 512, {512}, true, true},
    {"32-bit processor, float host", 48000.0, 512, {512}, false, false},
    {"64-bit processor, float host", 48000.0, 512, {512}, true, false},
    {"32-bit processor, double host", 44100.0, 512, {512}, false, true},
    {"host calls longer than its block size", 44100.0, 256, {1000}, true, true},
    {"odd host calls", 96000.0, 512, {1, 7, 100, 512, 33}, false, false},
    {"in-place buffers, float", 48000.0, 512, {512, 128}, false, false, true},
    {"in-place buffers, double", 48000.0, 512, {300}, true, true, true},
    {"accumulating call", 48000.0, 512, {512}, false, false, false, true},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, Vst2MatchesVst3, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info)
                         { return "Case" + std::to_string(info.index); });

class Vst2Processing : public OpenedEffect
{
protected:
    // One call of frames with the first frames of noise; returns the output.
    Stereo run(int32 frames)
    {
        const std::vector<float> inL = noise(7), inR = noise(8);
        std::vector<float> l(inL.begin(), inL.begin() + frames), r(inR.begin(), inR.begin() + frames);
        std::vector<float> oL(frames, 9.f), oR(frames, 9.f);
        float* in[2] = {l.data(), r.data()};
        float* out[2] = {oL.data(), oR.data()};
        effect->effect->processReplacing(effect->effect, in, out, frames);
        return Stereo{std::vector<double>(oL.begin(), oL.end()), std::vector<double>(oR.begin(), oR.end())};
    }
};

// Silent until the host switches the effect on, and again once it switches it off.
TEST_F(Vst2Processing, SilentWhileSwitchedOff)
{
    for (int round = 0; round < 2; ++round)
    {
        const Stereo out = run(256);
        for (int32 i = 0; i < 256; ++i)
        {
            ASSERT_EQ(out.l[i], 0.0) << "round " << round << ", frame " << i;
            ASSERT_EQ(out.r[i], 0.0) << "round " << round << ", frame " << i;
        }
        effect->start(48000.f, 512);
        EXPECT_NE(run(128).l[100], 0.0) << "switched on";
        effect->dispatch(V2::effMainsChanged, 0, 0);
    }
}

TEST_F(Vst2Processing, BypassCopiesTheInput)
{
    effect->start(48000.f, 512);
    effect->set(indexOf(11), 0.1f); // a balance far from centre, so processing differs from a copy
    run(512);
    ASSERT_EQ(effect->dispatch(V2::effSetBypass, 0, 1), 1);
    const std::vector<float> inL = noise(7), inR = noise(8);
    Stereo out = run(512);
    for (int32 i = 0; i < 512; ++i)
    {
        ASSERT_EQ(out.l[i], static_cast<double>(inL[i])) << i;
        ASSERT_EQ(out.r[i], static_cast<double>(inR[i])) << i;
    }
    ASSERT_EQ(effect->dispatch(V2::effSetBypass, 0, 0), 1);
    run(512); // the way back
    out = run(512);
    int differing = 0;
    for (int32 i = 0; i < 512; ++i)
        differing += out.l[i] != static_cast<double>(inL[i]);
    EXPECT_GT(differing, 256) << "bypass stayed on";
}

TEST_F(Vst2Processing, PrecisionSwitchFollowsTheProcessor)
{
    EXPECT_EQ(effect->dispatch(V2::effSetProcessPrecision, 0, V2::kProcessPrecision64), 1);
    EXPECT_EQ(effect->dispatch(V2::effSetProcessPrecision, 0, V2::kProcessPrecision32), 1);
    EXPECT_EQ(effect->dispatch(V2::effSetProcessPrecision, 0, 7), 0);
}

} // namespace
