#include "tests/vst2/Vst2Render.h"

#include "tests/support/KalviorBundle.h"
#include "tests/support/Noise.h"
#include "tests/support/ProcessingHost.h"

#include "sdk/hosting/ParameterChanges.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace Vst2Test {

namespace {

// Host calls in frames: the scenario's pattern, repeated.
std::vector<int32> hostCalls(const Scenario& s)
{
    std::vector<int32> calls;
    int32 total = 0;
    for (size_t i = 0; total < kFrames; ++i)
    {
        const int32 n = std::min(s.hostBlocks[i % s.hostBlocks.size()], kFrames - total);
        calls.push_back(n);
        total += n;
    }
    return calls;
}

template <typename Sample>
Stereo renderVst2Typed(Effect& effect, const Scenario& s, const std::vector<float>& inL, const std::vector<float>& inR)
{
    // Outputs start non-zero: the replacing calls must overwrite them, the
    // accumulating call must add to them.
    std::vector<Sample> bufL(inL.begin(), inL.end()), bufR(inR.begin(), inR.end());
    std::vector<Sample> outL(kFrames, Sample(0.25)), outR(kFrames, Sample(-0.5));
    const std::vector<int32> calls = hostCalls(s);
    int32 position = 0;
    for (size_t call = 0; call < calls.size(); ++call)
    {
        const auto changes = changesByCall().find(call);
        if (changes != changesByCall().end())
            for (const auto& [id, value] : changes->second)
                effect.set(indexOf(id), value);
        Sample* in[2] = {bufL.data() + position, bufR.data() + position};
        Sample* out[2] = {outL.data() + position, outR.data() + position};
        Sample** outputs = s.inPlace ? in : out;
        if constexpr (sizeof(Sample) == sizeof(double))
            effect.effect->processDoubleReplacing(effect.effect, in, outputs, calls[call]);
        else if (s.accumulate)
            effect.effect->process(effect.effect, in, outputs, calls[call]);
        else
            effect.effect->processReplacing(effect.effect, in, outputs, calls[call]);
        position += calls[call];
    }
    const std::vector<Sample>& resultL = s.inPlace ? bufL : outL;
    const std::vector<Sample>& resultR = s.inPlace ? bufR : outR;
    return Stereo{std::vector<double>(resultL.begin(), resultL.end()),
                  std::vector<double>(resultR.begin(), resultR.end())};
}

} // namespace

std::vector<float> noise(uint32_t seed)
{
    KalviorTest::Noise source(seed);
    std::vector<float> v(kFrames);
    for (float& x : v)
        x = static_cast<float>(source.next());
    return v;
}

const std::map<size_t, Changes>& changesByCall()
{
    // Gains, pans, widths, the crossover switched on and moved, solo on and
    // off: automatable and non-automatable parameters at three moments.
    static const std::map<size_t, Changes> changes = {
        {0, {{3, 0.6f}, {9, 0.2f}, {11, 0.3f}, {15, 0.7f}, {22, 0.65f}, {23, 1.f}, {24, 0.4f}, {17, 0.25f}}},
        {5, {{11, 0.8f}, {13, 0.9f}, {27, 0.5f}}},
        {9, {{27, 0.f}, {23, 0.5f}, {20, 0.3f}, {24, 0.75f}}},
    };
    return changes;
}

Stereo renderVst3(const Scenario& s, const std::vector<float>& inL, const std::vector<float>& inR, int32 sampleSize)
{
    using namespace Steinberg;
    std::string error;
    auto module = Hosting::PluginModule::load(KalviorTest::bundlePath(), error);
    EXPECT_TRUE(module) << error;
    if (!module)
        return {};
    KalviorTest::ProcessingHost host(module->factory());
    EXPECT_TRUE(host.ok()) << host.error;
    if (!host.ok())
        return {};
    EXPECT_EQ(host.start({s.sampleRate, s.maxBlock, sampleSize, true}), kResultOk);

    Hosting::ParameterChanges input;
    Stereo out{std::vector<double>(kFrames), std::vector<double>(kFrames)};
    const std::vector<int32> calls = hostCalls(s);
    int32 position = 0;
    for (size_t call = 0; call < calls.size(); ++call)
    {
        for (int32 done = 0; done < calls[call];)
        {
            const int32 n = std::min(calls[call] - done, s.maxBlock);
            input.clear();
            const auto changes = changesByCall().find(call);
            if (done == 0 && changes != changesByCall().end())
                for (const auto& [id, value] : changes->second)
                    input.addChange(id, 0, static_cast<double>(value));
            for (int32 i = 0; i < n; ++i)
            {
                host.buffers.setInput(0, i, inL[position + i]);
                host.buffers.setInput(1, i, inR[position + i]);
            }
            host.process(n, &input);
            for (int32 i = 0; i < n; ++i)
            {
                out.l[position + i] = host.out(0, i);
                out.r[position + i] = host.out(1, i);
            }
            done += n;
            position += n;
        }
    }
    return out;
}

Stereo renderVst2(const Scenario& s, const std::vector<float>& inL, const std::vector<float>& inR)
{
    Host host;
    auto effect = open(host);
    EXPECT_TRUE(effect);
    if (!effect)
        return {};
    effect->start(static_cast<float>(s.sampleRate), s.maxBlock, s.processorDouble);
    return s.hostDouble ? renderVst2Typed<double>(*effect, s, inL, inR) : renderVst2Typed<float>(*effect, s, inL, inR);
}

double expectedSample(const Scenario& s, double vst3, int channel)
{
    if (s.hostDouble)
        return vst3;
    const float converted = static_cast<float>(vst3);
    if (s.accumulate)
        return static_cast<double>((channel == 0 ? 0.25f : -0.5f) + converted);
    return static_cast<double>(converted);
}

int countMismatches(const Scenario& s, const Stereo& vst2, const Stereo& vst3, double* energy)
{
    int mismatches = 0;
    double sum = 0.0;
    const size_t frames = std::min(vst2.l.size(), vst3.l.size());
    for (size_t i = 0; i < frames; ++i)
    {
        for (int channel = 0; channel < 2; ++channel)
        {
            const double got = channel == 0 ? vst2.l[i] : vst2.r[i];
            const double expected = expectedSample(s, channel == 0 ? vst3.l[i] : vst3.r[i], channel);
            sum += got * got;
            if (got != expected && mismatches++ < 5)
                ADD_FAILURE() << s.name << ": frame " << i << " channel " << channel << ": " << got
                              << " != " << expected;
        }
    }
    if (energy)
        *energy = sum;
    return mismatches;
}

} // namespace Vst2Test
