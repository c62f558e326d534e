// The catalogue of bad input, one class per test, through the built bundle as
// a host drives it: what comes in (audio, parameter queues, bus layouts,
// setups) and what the product makes of it. Texts, VST 2 values and editor
// descriptions have their catalogues in their own areas and in the fuzz seeds.

#include "params/ParamId.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"
#include "tests/support/RawChanges.h"
#include "tests/support/ScopeListener.h"

#include "gui/CView.h"
#include "gui/UIDescription.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KalviorTest::RawChanges;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Loudest settings: every gain at +12 dB, trim +6 dB, crossover LR-4 at 100 Hz.
const KalviorTest::ValueList kLoudest = {{kLeftGain, 1.0},  {kRightGain, 1.0}, {kHpGain, 1.0},
                                         {kLpGain, 1.0},    {kGainTrim, 1.0},  {kHpWidth, 1.0},
                                         {kCrossover, 1.0}, {kLpWidth, 1.0},   {kCrossoverFreq, 0.0}};

class BadInput : public KalviorTest::BundleTest
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        host = std::make_unique<KalviorTest::ProcessingHost>(factory());
        ASSERT_TRUE(host->ok()) << host->error;
    }
    void TearDown() override
    {
        host.reset();
        BundleTest::TearDown();
    }

    void start(int32 sampleSize, double sampleRate = 48000.0, int32 maxBlock = 512)
    {
        ASSERT_EQ(host->start({sampleRate, maxBlock, sampleSize, true}), kResultOk);
    }
    void setValues(const KalviorTest::ValueList& values) { ASSERT_EQ(host->setValues(values), kResultOk); }

    // Noise scaled by `gain`; every `every`-th frame `bad` instead (0: none).
    void fill(int32 frames, double gain = 1.0, int32 every = 0, double bad = 0.0)
    {
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i)
                host->buffers.setInput(c, i, every && i % every == 0 ? bad : gain * source.next());
    }
    void process(int32 frames, IParameterChanges* changes = nullptr)
    {
        ASSERT_EQ(host->process(frames, changes), kResultOk);
    }
    // The largest output magnitude; infinite when any sample is not a number.
    double outputPeak(int32 frames) const
    {
        double peak = 0.0;
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i)
                peak = std::isfinite(host->out(c, i)) ? std::max(peak, std::fabs(host->out(c, i))) : kInf;
        return peak;
    }

    std::unique_ptr<KalviorTest::ProcessingHost> host;
    KalviorTest::Noise source;
};

// ---------------------------------------------------------------------------
// Audio samples

struct SampleCase
{
    const char* name;
    int32 sampleSize;
    double crossover; // "Crossover": 0 OFF, 0.5 LR-2, 1 LR-4
    double magnitude; // the largest of the input samples
    double bad;       // every third sample of the second block; 0: none
    double rate = 48000.0;
};

class AudioSamples : public BadInput, public ::testing::WithParamInterface<SampleCase>
{};

// At the loudest settings, with the crossover at 100 Hz gliding to 800 Hz: a
// block of bad samples may give anything, every block of finite ones finite
// output within the chain's gain, whatever the rate.
TEST_P(AudioSamples, FiniteInputGivesBoundedOutputAgainWithinOneBlock)
{
    const SampleCase& c = GetParam();
    start(c.sampleSize, c.rate);
    setValues(kLoudest);
    setValues({{kCrossover, c.crossover}});
    RawChanges glide;
    glide.add(kCrossoverFreq, {{0, 1.0}});
    for (int block = 0; block < 8; ++block)
    {
        const bool bad = block == 1 && c.bad != 0.0;
        fill(512, c.magnitude, bad ? 3 : 0, c.bad);
        process(512, block == 1 ? &glide : nullptr);
        if (!bad)
        {
            // finite, and +36 dB of gains at most, and a few times that for the bands' phase
            ASSERT_LT(outputPeak(512), 1000.0 * std::max(c.magnitude, 1.0)) << "block " << block;
        }
    }
}

// The largest magnitudes the loudest chain cannot overflow: 1e30 in 32-bit
// (the float range ends at 3.4e38), 1e200 in 64-bit; subnormals at the bottom.
// The lowest and highest rates accepted, where the cutoff would pass Nyquist.
INSTANTIATE_TEST_SUITE_P(Catalogue, AudioSamples,
                         ::testing::Values(SampleCase{"NaN32Off", kSample32, 0.0, 1.0, kNaN},
                                           SampleCase{"Inf32LR4", kSample32, 1.0, 1.0, kInf},
                                           SampleCase{"NaN64LR4", kSample64, 1.0, 1.0, kNaN},
                                           SampleCase{"Huge32", kSample32, 1.0, 1e30, 0.0},
                                           SampleCase{"Huge64", kSample64, 1.0, 1e200, 0.0},
                                           SampleCase{"Subnormal64", kSample64, 1.0, 1e-310, 0.0},
                                           SampleCase{"OneHertzLR4", kSample64, 1.0, 1.0, 0.0, 1.0},
                                           SampleCase{"OneHertzLR2", kSample32, 0.5, 1.0, 0.0, 1.0},
                                           SampleCase{"Rate1000LR4", kSample64, 1.0, 1.0, 0.0, 1000.0},
                                           SampleCase{"Rate1536kLR4", kSample64, 1.0, 1.0, 0.0, 1536000.0},
                                           SampleCase{"Rate1536kLR2", kSample32, 0.5, 1.0, 0.0, 1536000.0}),
                         [](const ::testing::TestParamInfo<SampleCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Parameter queues

struct QueueValueCase
{
    const char* name;
    ParamID id;
    double sent;
    double expected; // < 0: the value before the block stays
};

class QueueValues : public BadInput, public ::testing::WithParamInterface<QueueValueCase>
{};

TEST_P(QueueValues, NonFiniteValuesAreIgnoredAndOthersLimited)
{
    const QueueValueCase& c = GetParam();
    start(kSample32);
    setValues({{c.id, 0.25}});
    RawChanges changes;
    changes.add(c.id, {{0, c.sent}});
    fill(64);
    process(64, &changes);
    EXPECT_EQ(host->values()[c.id], c.expected < 0 ? 0.25 : c.expected);
    EXPECT_LT(outputPeak(64), kInf);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, QueueValues,
    ::testing::Values(
        QueueValueCase{"GainNaN", kLeftGain, kNaN, -1}, QueueValueCase{"GainInf", kLeftGain, kInf, -1},
        QueueValueCase{"GainAboveOne", kLeftGain, 1.5, 1.0}, QueueValueCase{"GainBelowZero", kLeftGain, -0.5, 0.0},
        // compares as zero while the block runs with denormals-are-zero
        QueueValueCase{"MuteNegativeSubnormal", kMuteLeft, -2.0058204836052317e-308, 0.0},
        QueueValueCase{"ScopeNegativeSubnormal", kScope, -4.9e-324, 0.0},
        QueueValueCase{"FrequencyNaN", kCrossoverFreq, kNaN, -1},
        QueueValueCase{"FrequencyHuge", kCrossoverFreq, 1e300, 1.0}, QueueValueCase{"ScopeNaN", kScope, kNaN, -1},
        QueueValueCase{"SoloAboveOne", kSolo, 7.0, 1.0}, QueueValueCase{"MonoBelowZero", kMono, -1e-300, 0.0},
        QueueValueCase{"ProgramNaN", kProgSel, kNaN, -1}, QueueValueCase{"ProgramAboveOne", kProgSel, 7.0, 1.0}),
    [](const ::testing::TestParamInfo<QueueValueCase>& info) { return std::string(info.param.name); });

// Queues of unknown IDs, null queues and queues without points change nothing
// but the known parameter queued beside them.
TEST_F(BadInput, QueuesOfUnknownParametersAreSkipped)
{
    start(kSample64);
    const KalviorTest::Bytes before = KalviorTest::getStateBytes(host->component());
    RawChanges hollow; // a host list that hands out null queues and a queue without points
    hollow.queues.push_back(nullptr);
    hollow.add(0, {}).queues.push_back(nullptr);
    fill(64);
    process(64, &hollow);
    EXPECT_EQ(KalviorTest::getStateBytes(host->component()), before);
    EXPECT_LT(outputPeak(64), kInf);

    RawChanges changes;
    for (ParamID id : {ParamID(kNumParams), ParamID(1000), ParamID(0xFFFFFFFF)})
        changes.add(id, {{0, 1.0}, {10, 0.0}});
    changes.add(kBalance, {{0, 0.125}});
    process(64, &changes);
    KalviorTest::Bytes expected = before;
    const KalviorTest::Bytes balance = KalviorTest::stateRecord(kBalance, 0.125);
    std::copy(balance.begin(), balance.end(), expected.begin() + kBalance * 12);
    EXPECT_EQ(KalviorTest::getStateBytes(host->component()), expected);
}

// ---------------------------------------------------------------------------
// Blocks and buses

enum class Outcome
{
    Processed, // the input, processed: sound, silence flags clear
    Silence,   // zeros, flagged silent
    LeftAlone, // the output buffers stay as the host left them
};

struct LayoutCase
{
    const char* name;
    int32 numInputs, numOutputs;         // buses the host claims
    int32 inputChannels, outputChannels; // channels of bus 0
    bool nullInputChannel, nullOutputChannel;
    Outcome outcome;
    uint64 inputSilenceFlags = 0;
};

class BusLayouts : public BadInput, public ::testing::WithParamInterface<LayoutCase>
{};

TEST_P(BusLayouts, MissingBusesAndChannelsNeverReachPastTheHostsBuffers)
{
    const LayoutCase& c = GetParam();
    start(kSample32, 48000.0, 128);
    setValues({{kCrossover, 1.0}});

    // Exactly as many channels as the host claims, each exactly one block long.
    constexpr float kUntouched = 0.375f;
    std::vector<std::vector<float>> inputs(size_t(std::max(c.inputChannels, 0)), std::vector<float>(128, 0.5f));
    std::vector<std::vector<float>> outputs(size_t(std::max(c.outputChannels, 0)), std::vector<float>(128, kUntouched));
    std::vector<float*> in, out;
    for (auto& ch : inputs)
        in.push_back(ch.data());
    for (auto& ch : outputs)
        out.push_back(ch.data());
    if (c.nullInputChannel && !in.empty())
        in.back() = nullptr;
    if (c.nullOutputChannel && !out.empty())
        out.back() = nullptr;
    AudioBusBuffers inputBus{};
    inputBus.numChannels = c.inputChannels;
    inputBus.channelBuffers32 = in.empty() ? nullptr : in.data();
    inputBus.silenceFlags = c.inputSilenceFlags;
    AudioBusBuffers outputBus{};
    outputBus.numChannels = c.outputChannels;
    outputBus.channelBuffers32 = out.empty() ? nullptr : out.data();
    outputBus.silenceFlags = c.outcome == Outcome::Silence ? 0 : 3; // the opposite of what is due

    ProcessData& data = host->buffers.block(128);
    data.numInputs = c.numInputs;
    data.numOutputs = c.numOutputs;
    data.inputs = c.numInputs > 0 ? &inputBus : nullptr;
    data.outputs = c.numOutputs > 0 ? &outputBus : nullptr;
    ASSERT_EQ(host->processor()->process(data), kResultOk);

    for (size_t ch = 0; ch < outputs.size(); ++ch)
        for (float s : outputs[ch])
        {
            ASSERT_TRUE(std::isfinite(s));
            if (c.outcome == Outcome::LeftAlone)
            {
                ASSERT_EQ(s, kUntouched) << "channel " << ch;
            }
            else if (c.outcome == Outcome::Silence && ch < 2)
            {
                ASSERT_EQ(s, 0.0f) << "channel " << ch;
            }
        }
    if (c.outcome == Outcome::Processed)
    {
        EXPECT_NE(outputs[0][127], kUntouched);
        EXPECT_NE(outputs[0][127], 0.0f);
        EXPECT_EQ(outputBus.silenceFlags & 3, 0u);
    }
    if (c.outcome == Outcome::Silence)
    {
        EXPECT_EQ(outputBus.silenceFlags & 3, 3u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, BusLayouts,
    ::testing::Values(LayoutCase{"Stereo", 1, 1, 2, 2, false, false, Outcome::Processed},
                      LayoutCase{"MonoInputIsSilence", 1, 1, 1, 2, false, false, Outcome::Silence},
                      LayoutCase{"NoInputChannelsIsSilence", 1, 1, 0, 2, false, false, Outcome::Silence},
                      LayoutCase{"NullInputChannelIsSilence", 1, 1, 2, 2, true, false, Outcome::Silence},
                      LayoutCase{"MonoOutputIsLeftAlone", 1, 1, 2, 1, false, false, Outcome::LeftAlone},
                      LayoutCase{"NullOutputChannelIsLeftAlone", 1, 1, 2, 2, false, true, Outcome::LeftAlone},
                      LayoutCase{"NoOutputBusMovesParametersOnly", 1, 0, 2, 2, false, false, Outcome::LeftAlone},
                      LayoutCase{"NegativeInputBusCountIsSilence", -1, 1, 2, 2, false, false, Outcome::Silence},
                      LayoutCase{"NegativeOutputBusCountIsLeftAlone", 1, -1, 2, 2, false, false, Outcome::LeftAlone},
                      LayoutCase{"ExtraChannelsAreIgnored", 1, 1, 4, 3, false, false, Outcome::Processed},
                      LayoutCase{"SilentInputIsSilence", 1, 1, 2, 2, false, false, Outcome::Silence, 3},
                      // one silent channel is not a silent input
                      LayoutCase{"OneSilentChannelIsProcessed", 1, 1, 2, 2, false, false, Outcome::Processed, 1}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Setups on a live instance

// The crossover of an instance set up again at a new rate is the crossover
// of an instance set up at that rate from the start.
TEST_F(BadInput, ANewRateRetunesTheCrossover)
{
    const KalviorTest::ValueList lowBandOnly = {{kCrossover, 1.0}, {kCrossoverFreq, 1.0}, {kSolo, 1.0}};
    auto render = [&](KalviorTest::ProcessingHost& h, std::vector<double>& last)
    {
        KalviorTest::Noise source(7);
        for (int block = 0; block < 40; ++block)
        {
            h.fillNoise(256, source);
            ASSERT_EQ(h.process(256), kResultOk);
        }
        last.clear();
        for (int32 i = 0; i < 256; ++i)
            last.push_back(h.out(0, i));
    };
    start(kSample64, 48000.0, 256);
    setValues(lowBandOnly);
    std::vector<double> before, moved, fresh;
    render(*host, before);
    ASSERT_EQ(host->start({8000.0, 256, kSample64, true}), kResultOk);
    render(*host, moved);

    KalviorTest::ProcessingHost reference(factory());
    ASSERT_TRUE(reference.ok()) << reference.error;
    ASSERT_EQ(reference.start({8000.0, 256, kSample64, true}), kResultOk);
    ASSERT_EQ(reference.setValues(lowBandOnly), kResultOk);
    render(reference, fresh);
    for (int32 i = 0; i < 256; ++i)
        ASSERT_NEAR(moved[size_t(i)], fresh[size_t(i)], 1e-9) << "frame " << i;
}

// About ten scope blocks a second at any rate: one kept frame in rate / 5120,
// 512 kept frames to a block. At 5120 Hz every frame is kept.
TEST_F(BadInput, ANewRateSetsTheScopeDecimation)
{
    host.reset();
    host = std::make_unique<KalviorTest::ProcessingHost>(factory(), false);
    ASSERT_TRUE(host->ok()) << host->error;
    auto connection = KalviorTest::query<IConnectionPoint>(host->component());
    ASSERT_TRUE(connection);
    KalviorTest::ScopeListener listener;
    ASSERT_EQ(connection->connect(&listener), kResultOk);

    start(kSample32, 96000.0, 512);
    fill(512);
    process(512); // 28 kept frames of 512
    ASSERT_EQ(host->start({5120.0, 512, kSample32, true}), kResultOk);
    // A refused setup leaves the last one in force, its decimation included.
    EXPECT_NE(host->start({2e6, 512, kSample32, true}), kResultOk);
    ASSERT_EQ(host->instance->setActive(true), kResultOk);
    ASSERT_EQ(host->instance->setProcessing(true), kResultOk);
    const size_t before = listener.count();
    fill(512);
    process(512); // completes a block, whatever the first rate left in it
    EXPECT_TRUE(listener.waitFor(before + 1)) << "no scope block after 512 frames at 5120 Hz";
    host->stop();
    connection->disconnect(&listener);
}

// ---------------------------------------------------------------------------
// Editor descriptions

TEST(DescriptionBadInput, NestingBeyondAnyEditorIsRefusedWithoutExhaustingTheStack)
{
    auto nested = [](int depth, const std::string& open, const std::string& close)
    {
        std::string xml = "<vstgui-ui-description version=\"1\"><template name=\"view\" class=\"CViewContainer\" "
                          "size=\"9, 9\">";
        for (int i = 0; i < depth; ++i)
            xml += open;
        for (int i = 0; i < depth; ++i)
            xml += close;
        return xml + "</template></vstgui-ui-description>";
    };
    const std::string view = "<view class=\"CViewContainer\" size=\"9, 9\">";

    VSTGUI::UIDescription shallow("/nonexistent/editor.uidesc");
    ASSERT_TRUE(shallow.parseText(nested(100, view, "</view>"), "/nonexistent"));
    VSTGUI::CView* tree = shallow.createView("view", nullptr);
    ASSERT_NE(tree, nullptr);
    tree->forget();

    VSTGUI::UIDescription deepViews("/nonexistent/editor.uidesc");
    EXPECT_FALSE(deepViews.parseText(nested(200000, view, "</view>"), "/nonexistent"));
    EXPECT_EQ(deepViews.createView("view", nullptr), nullptr);
    VSTGUI::UIDescription deepElements("/nonexistent/editor.uidesc");
    EXPECT_FALSE(deepElements.parseText(nested(200000, "<x>", "</x>"), "/nonexistent"));
}

} // namespace
