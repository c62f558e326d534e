// Audio through the VST 2 entry, compared sample by sample with the same
// module driven as a VST 3 host drives it: same settings, same input, same
// parameter changes at the same host calls. Both paths run the same processor
// code, so the outputs must be identical (tolerance 0); where the VST 2 host's
// sample size differs from the processor's, the expected output is the VST 3
// output converted the same way (a float cast per sample).

#include "tests/support/KalviorBundle.h"
#include "tests/support/Noise.h"
#include "tests/support/ProcessingHost.h"
#include "tests/vst2/Vst2TestHost.h"

#include "sdk/hosting/ParameterChanges.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace Vst2Test;
using Steinberg::int32;
namespace V2 = Vst2Abi;

namespace {

constexpr int32 kFrames = 6000;

struct Scenario
{
    const char* name;
    double sampleRate;
    int32 maxBlock;                // the block size the host announces
    std::vector<int32> hostBlocks; // frames per host call, repeated to fill the signal
    bool processorDouble;          // effSetProcessPrecision
    bool hostDouble;               // processDoubleReplacing instead of processReplacing
    bool inPlace = false;          // the host passes its input buffers as outputs
    bool accumulate = false;       // the 1.0 accumulating call
};

void PrintTo(const Scenario& s, std::ostream* os)
{
    *os << s.name;
}

struct Stereo
{
    std::vector<double> channel[2];
};

Stereo noise()
{
    KalviorTest::Noise source(3);
    Stereo in{{std::vector<double>(kFrames), std::vector<double>(kFrames)}};
    for (size_t i = 0; i < size_t(kFrames); ++i)
        for (auto& channel : in.channel)
            channel[i] = static_cast<float>(source.next());
    return in;
}

// Gains, pans, widths, the crossover switched on and moved, solo on and
// off, bypass (effSetBypass in VST 2) on and off: automatable and
// non-automatable parameters at four host calls.
const std::map<size_t, std::vector<std::pair<uint32_t, float>>> kChangesByCall = {
    {0, {{3, 0.6f}, {9, 0.2f}, {11, 0.3f}, {15, 0.7f}, {22, 0.65f}, {23, 1.f}, {24, 0.4f}, {17, 0.25f}}},
    {5, {{11, 0.8f}, {13, 0.9f}, {27, 0.5f}}},
    {7, {{1, 1.f}}},
    {9, {{27, 0.f}, {23, 0.5f}, {20, 0.3f}, {24, 0.75f}, {1, 0.f}}},
};

const std::vector<std::pair<uint32_t, float>> kNoChanges;

// Host calls in frames: the scenario's pattern, repeated.
std::vector<int32> hostCalls(const Scenario& s)
{
    std::vector<int32> calls;
    for (int32 total = 0; total < kFrames; total += calls.back())
        calls.push_back(std::min(s.hostBlocks[calls.size() % s.hostBlocks.size()], kFrames - total));
    return calls;
}

template <typename Sample>
Stereo renderVst2(const Scenario& s, const Stereo& input)
{
    Host host;
    auto effect = open(host);
    if (!effect)
        return {};
    effect->start(static_cast<float>(s.sampleRate), s.maxBlock, s.processorDouble);
    // Outputs start non-zero: the replacing calls must overwrite them, the
    // accumulating call must add to them.
    std::vector<Sample> in[2],
        out[2] = {std::vector<Sample>(kFrames, Sample(0.25)), std::vector<Sample>(kFrames, Sample(-0.5))};
    for (int c = 0; c < 2; ++c)
        in[c].assign(input.channel[c].begin(), input.channel[c].end());
    int32 position = 0;
    const std::vector<int32> calls = hostCalls(s);
    for (size_t call = 0; call < calls.size(); position += calls[call++])
    {
        for (const auto& [id, value] : kChangesByCall.count(call) ? kChangesByCall.at(call) : kNoChanges)
        {
            if (id == 1)
                effect->dispatch(Vst2Abi::effSetBypass, 0, value > 0.5f);
            else
                effect->set(indexOf(id), value);
        }
        Sample* inputs[2] = {in[0].data() + position, in[1].data() + position};
        Sample* outputs[2] = {out[0].data() + position, out[1].data() + position};
        Sample** to = s.inPlace ? inputs : outputs;
        if constexpr (sizeof(Sample) == sizeof(double))
            effect->effect->processDoubleReplacing(effect->effect, inputs, to, calls[call]);
        else if (s.accumulate)
            effect->effect->process(effect->effect, inputs, to, calls[call]);
        else
            effect->effect->processReplacing(effect->effect, inputs, to, calls[call]);
    }
    Stereo result;
    for (int c = 0; c < 2; ++c)
        result.channel[c].assign((s.inPlace ? in : out)[c].begin(), (s.inPlace ? in : out)[c].end());
    return result;
}

// The VST 3 path: each host call cut into slices of at most maxBlock frames,
// changes at offset 0 of a call's first slice.
Stereo renderVst3(const Scenario& s, const Stereo& input)
{
    std::string error;
    auto module = Steinberg::Hosting::PluginModule::load(KalviorTest::bundlePath(), error);
    KalviorTest::ProcessingHost host(module ? module->factory() : nullptr);
    const int32 sampleSize = s.processorDouble ? Steinberg::Vst::kSample64 : Steinberg::Vst::kSample32;
    if (!host.ok() || host.start({s.sampleRate, s.maxBlock, sampleSize, true}) != Steinberg::kResultOk)
        return {};
    Steinberg::Hosting::ParameterChanges changes;
    Stereo out{{std::vector<double>(kFrames), std::vector<double>(kFrames)}};
    const std::vector<int32> calls = hostCalls(s);
    int32 position = 0;
    for (size_t call = 0; call < calls.size(); ++call)
        for (int32 done = 0; done < calls[call];)
        {
            const int32 n = std::min(calls[call] - done, s.maxBlock);
            changes.clear();
            for (const auto& [id, value] :
                 done == 0 && kChangesByCall.count(call) ? kChangesByCall.at(call) : kNoChanges)
                changes.addChange(id, 0, static_cast<double>(value));
            for (int32 i = 0; i < n; ++i)
                for (int32 c = 0; c < 2; ++c)
                    host.buffers.setInput(c, i, input.channel[c][size_t(position + i)]);
            host.process(n, &changes);
            for (int32 i = 0; i < n; ++i)
                for (int32 c = 0; c < 2; ++c)
                    out.channel[c][size_t(position + i)] = host.out(c, i);
            done += n;
            position += n;
        }
    return out;
}

class Vst2MatchesVst3 : public ::testing::TestWithParam<Scenario>
{
protected:
    void SetUp() override { ASSERT_TRUE(Module::get().handle) << Module::get().error; }
};

TEST_P(Vst2MatchesVst3, SampleBySample)
{
    const Scenario& s = GetParam();
    const Stereo input = noise();
    const Stereo vst2 = s.hostDouble ? renderVst2<double>(s, input) : renderVst2<float>(s, input);
    const Stereo vst3 = renderVst3(s, input);
    ASSERT_EQ(vst2.channel[0].size(), size_t(kFrames));
    ASSERT_EQ(vst3.channel[0].size(), size_t(kFrames));
    int mismatches = 0;
    double energy = 0.0;
    for (size_t i = 0; i < size_t(kFrames); ++i)
        for (int c = 0; c < 2; ++c)
        {
            const double got = vst2.channel[c][i], plain = vst3.channel[c][i];
            double expected = s.hostDouble ? plain : double(static_cast<float>(plain));
            if (s.accumulate)
                expected = double((c == 0 ? 0.25f : -0.5f) + static_cast<float>(plain));
            energy += got * got;
            if (got != expected && mismatches++ < 5)
                ADD_FAILURE() << "frame " << i << " channel " << c << ": " << got << " != " << expected;
        }
    EXPECT_EQ(mismatches, 0);
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

using Vst2Processing = OpenedEffect;

// Silent until the host switches the effect on, and again once it switches it off.
TEST_F(Vst2Processing, SilentWhileSwitchedOff)
{
    const Stereo input = noise();
    std::vector<float> in(input.channel[0].begin(), input.channel[0].begin() + 256), out(256, 9.f);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out.data(), out.data()};
    for (int round = 0; round < 2; ++round)
    {
        effect->effect->processReplacing(effect->effect, inputs, outputs, 256);
        EXPECT_EQ(out, std::vector<float>(256, 0.f)) << "round " << round;
        effect->start(48000.f, 512);
        effect->effect->processReplacing(effect->effect, inputs, outputs, 256);
        EXPECT_NE(out[100], 0.f) << "switched on";
        effect->dispatch(V2::effMainsChanged, 0, 0);
    }
}

} // namespace
