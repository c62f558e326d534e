// The catalogue of bad input, one class per test, through the built bundle as
// a host drives it: what comes in (audio, parameter queues, bus layouts,
// setups, texts, editor descriptions) and what the product makes of it.

#include "fuzz/harness/HarnessSupport.h"
#include "params/ParamId.h"
#include "tests/stress/BundleEntry.h"
#include "tests/support/KalviorBundle.h"

#include "gui/CView.h"
#include "gui/UIDescription.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"
#include "vst2/Vst2Abi.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KalviorFuzz::RawChanges;
using KalviorFuzz::RawQueue;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Loudest settings: every gain at +12 dB, trim +6 dB, crossover LR-4 at 100 Hz.
const std::vector<std::pair<uint32_t, double>> kLoudest = {{kLeftGain, 1.0}, {kRightGain, 1.0}, {kHpGain, 1.0},
                                                           {kLpGain, 1.0},   {kGainTrim, 1.0},  {kHpWidth, 1.0},
                                                           {kLpWidth, 1.0},  {kCrossover, 1.0}, {kCrossoverFreq, 0.0}};

class BadInput : public KalviorTest::PluginTest
{
protected:
    void start(int32 sampleSize, double sampleRate = 48000.0, int32 maxBlock = 512)
    {
        ASSERT_EQ(instance->setStereoArrangement(), kResultOk);
        ASSERT_EQ(instance->setupProcessing(sampleRate, maxBlock, sampleSize), kResultOk);
        ASSERT_EQ(instance->setActive(true), kResultOk);
        ASSERT_EQ(instance->setProcessing(true), kResultOk);
        buffers.prepare(sampleSize, maxBlock);
    }

    void setValues(const std::vector<std::pair<uint32_t, double>>& values)
    {
        KalviorTest::Bytes bytes;
        for (const auto& v : values)
            KalviorTest::appendRecord(bytes, v.first, v.second);
        ASSERT_EQ(KalviorTest::setStateBytes(component(), bytes), kResultOk);
    }

    double value(uint32_t id)
    {
        uint32_t storedId = 0;
        double stored = kNaN;
        EXPECT_TRUE(KalviorTest::readRecord(KalviorTest::getStateBytes(component()), id, storedId, stored));
        return stored;
    }

    void fill(int32 frames, double (*signal)(int32 channel, int32 frame))
    {
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i)
                buffers.setInput(c, i, signal(c, i));
    }

    void process(int32 frames, IParameterChanges* changes = nullptr)
    {
        ASSERT_EQ(processor()->process(buffers.block(frames, changes)), kResultOk);
    }

    bool outputFinite(int32 frames) const
    {
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i)
                if (!std::isfinite(buffers.output(c, i)))
                    return false;
        return true;
    }

    double outputPeak(int32 frames) const
    {
        double peak = 0.0;
        for (int32 c = 0; c < 2; ++c)
            for (int32 i = 0; i < frames; ++i)
                peak = std::max(peak, std::fabs(buffers.output(c, i)));
        return peak;
    }

    Hosting::ProcessBuffers buffers;
};

double noise(int32 channel, int32 frame)
{
    uint32_t x = static_cast<uint32_t>(frame * 2 + channel) * 2654435761u;
    x ^= x >> 15;
    return (x & 0xFFFF) / 32768.0 - 1.0;
}

std::unique_ptr<RawQueue> queue(ParamID id, std::vector<RawQueue::Point> points)
{
    auto q = std::make_unique<RawQueue>();
    q->id = id;
    q->points = std::move(points);
    return q;
}

// ---------------------------------------------------------------------------
// Audio samples

struct NonFiniteCase
{
    const char* name;
    int32 sampleSize;
    double crossover; // "Crossover": 0 OFF, 0.5 LR-2, 1 LR-4
    double bad;       // the value every input sample of the bad block has
};

class NonFiniteAudio : public BadInput, public ::testing::WithParamInterface<NonFiniteCase>
{};

TEST_P(NonFiniteAudio, OutputIsFiniteAgainWithinOneBlock)
{
    const NonFiniteCase& c = GetParam();
    start(c.sampleSize);
    setValues(kLoudest);
    setValues({{kCrossover, c.crossover}});

    fill(512, noise);
    process(512);
    ASSERT_TRUE(outputFinite(512));

    // a burst of bad samples while the crossover frequency glides
    static double bad;
    bad = c.bad;
    fill(512, [](int32, int32 i) { return i % 3 == 0 ? bad : noise(0, i); });
    RawChanges glide;
    glide.queues.push_back(queue(kCrossoverFreq, {{0, 1.0}}));
    process(512, &glide);

    fill(512, noise);
    process(512);
    EXPECT_TRUE(outputFinite(512)) << "the block after the bad one";
    fill(256, noise);
    process(256);
    EXPECT_TRUE(outputFinite(256));
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, NonFiniteAudio,
    ::testing::Values(NonFiniteCase{"NaN32Off", kSample32, 0.0, kNaN}, NonFiniteCase{"NaN32LR2", kSample32, 0.5, kNaN},
                      NonFiniteCase{"NaN32LR4", kSample32, 1.0, kNaN}, NonFiniteCase{"Inf64LR4", kSample64, 1.0, kInf},
                      NonFiniteCase{"MinusInf64LR2", kSample64, 0.5, -kInf},
                      NonFiniteCase{"NaN64LR4", kSample64, 1.0, kNaN}, NonFiniteCase{"Inf32LR4", kSample32, 1.0, kInf}),
    [](const ::testing::TestParamInfo<NonFiniteCase>& info) { return std::string(info.param.name); });

struct ExtremeSampleCase
{
    const char* name;
    int32 sampleSize;
    double magnitude; // of every input sample, alternating in sign
};

class ExtremeFiniteAudio : public BadInput, public ::testing::WithParamInterface<ExtremeSampleCase>
{};

TEST_P(ExtremeFiniteAudio, OutputStaysFiniteAtTheLoudestSettings)
{
    const ExtremeSampleCase& c = GetParam();
    start(c.sampleSize);
    setValues(kLoudest);
    static double magnitude;
    magnitude = c.magnitude;
    for (int block = 0; block < 8; ++block)
    {
        fill(512,
             [](int32 ch, int32 i) { return ((i + ch) % 2 ? magnitude : -magnitude) * (0.5 + 0.5 * noise(ch, i)); });
        process(512);
        ASSERT_TRUE(outputFinite(512)) << "block " << block;
    }
}

// The largest magnitudes the loudest chain cannot overflow: 1e30 in 32-bit
// (the float range ends at 3.4e38), 1e200 in 64-bit; subnormals at the bottom.
INSTANTIATE_TEST_SUITE_P(Catalogue, ExtremeFiniteAudio,
                         ::testing::Values(ExtremeSampleCase{"Huge32", kSample32, 1e30},
                                           ExtremeSampleCase{"Huge64", kSample64, 1e200},
                                           ExtremeSampleCase{"Subnormal32", kSample32, 1e-40},
                                           ExtremeSampleCase{"Subnormal64", kSample64, 1e-310}),
                         [](const ::testing::TestParamInfo<ExtremeSampleCase>& info)
                         { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Setups

struct RateCase
{
    const char* name;
    double sampleRate; // Hz
    double frequency;  // normalised "Crossover Freq"
    double crossover;  // 0.5 LR-2, 1 LR-4
};

class ExtremeRates : public BadInput, public ::testing::WithParamInterface<RateCase>
{};

TEST_P(ExtremeRates, TheCrossoverStaysStableAndBounded)
{
    const RateCase& c = GetParam();
    start(kSample64, c.sampleRate, 256);
    setValues({{kCrossover, c.crossover}, {kCrossoverFreq, c.frequency}});
    double peak = 0.0;
    for (int block = 0; block < 64; ++block)
    {
        fill(256, noise);
        process(256);
        ASSERT_TRUE(outputFinite(256)) << "block " << block;
        peak = std::max(peak, outputPeak(256));
    }
    // Unity settings: low plus high band is an all-pass of the input, whose
    // samples stay within +-1; a few times that allows for its phase.
    EXPECT_LT(peak, 8.0);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ExtremeRates,
                         ::testing::Values(RateCase{"OneHertzLR4At800", 1.0, 1.0, 1.0},
                                           RateCase{"OneHertzLR2At100", 1.0, 0.0, 0.5},
                                           RateCase{"Rate1000LR4At800", 1000.0, 1.0, 1.0},
                                           RateCase{"Rate1536kLR4At100", 1536000.0, 0.0, 1.0},
                                           RateCase{"Rate1536kLR2At800", 1536000.0, 1.0, 0.5}),
                         [](const ::testing::TestParamInfo<RateCase>& info) { return std::string(info.param.name); });

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
    changes.queues.push_back(queue(c.id, {{0, c.sent}}));
    fill(64, noise);
    process(64, &changes);
    EXPECT_EQ(value(c.id), c.expected < 0 ? 0.25 : c.expected);
    EXPECT_TRUE(outputFinite(64));
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, QueueValues,
    ::testing::Values(
        QueueValueCase{"GainNaN", kLeftGain, kNaN, -1}, QueueValueCase{"GainInf", kLeftGain, kInf, -1},
        QueueValueCase{"GainMinusInf", kLeftGain, -kInf, -1}, QueueValueCase{"GainAboveOne", kLeftGain, 1.5, 1.0},
        QueueValueCase{"GainBelowZero", kLeftGain, -0.5, 0.0},
        // compares as zero while the block runs with denormals-are-zero
        QueueValueCase{"MuteNegativeSubnormal", kMuteLeft, -2.0058204836052317e-308, 0.0},
        QueueValueCase{"ScopeNegativeSubnormal", kScope, -4.9e-324, 0.0},
        QueueValueCase{"FrequencyNaN", kCrossoverFreq, kNaN, -1},
        QueueValueCase{"FrequencyHuge", kCrossoverFreq, 1e300, 1.0}, QueueValueCase{"ScopeNaN", kScope, kNaN, -1},
        QueueValueCase{"SoloAboveOne", kSolo, 7.0, 1.0}, QueueValueCase{"MonoBelowZero", kMono, -1e-300, 0.0},
        QueueValueCase{"ProgramNaN", kProgSel, kNaN, -1}, QueueValueCase{"ProgramAboveOne", kProgSel, 7.0, 1.0}),
    [](const ::testing::TestParamInfo<QueueValueCase>& info) { return std::string(info.param.name); });

TEST_F(BadInput, QueuesOfUnknownParametersAreSkipped)
{
    start(kSample64);
    const KalviorTest::Bytes before = KalviorTest::getStateBytes(component());
    RawChanges changes;
    for (ParamID id : {ParamID(kNumParams), ParamID(1000), ParamID(0xFFFFFFFF)})
        changes.queues.push_back(queue(id, {{0, 1.0}, {10, 0.0}}));
    changes.queues.push_back(queue(kBalance, {{0, 0.125}}));
    fill(64, noise);
    process(64, &changes);

    KalviorTest::Bytes expected = before;
    const KalviorTest::Bytes balance = KalviorTest::stateRecord(kBalance, 0.125);
    std::copy(balance.begin(), balance.end(), expected.begin() + kBalance * 12);
    EXPECT_EQ(KalviorTest::getStateBytes(component()), expected);
}

// A host list that hands out null queues and queues without points.
class HollowChanges : public IParameterChanges
{
public:
    int32 PLUGIN_API getParameterCount() override { return 3; }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override { return index == 1 ? &empty : nullptr; }
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID&, int32&) override { return nullptr; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    RawQueue empty; // ID 0, no points
};

TEST_F(BadInput, NullQueuesAndQueuesWithoutPointsChangeNothing)
{
    start(kSample32);
    const KalviorTest::Bytes before = KalviorTest::getStateBytes(component());
    HollowChanges changes;
    fill(64, noise);
    process(64, &changes);
    EXPECT_EQ(KalviorTest::getStateBytes(component()), before);
    EXPECT_TRUE(outputFinite(64));
}

// ---------------------------------------------------------------------------
// Blocks and buses

TEST_F(BadInput, NegativeBlockLengthsAndUnknownSampleSizesTouchNoAudio)
{
    start(kSample32);
    const float sentinel = 0.375f;
    for (int32 c = 0; c < 2; ++c)
        std::fill(buffers.output32(c), buffers.output32(c) + 64, sentinel);
    fill(64, noise);

    ProcessData& data = buffers.block(64);
    data.numSamples = -5;
    EXPECT_EQ(processor()->process(data), kResultOk);
    data.numSamples = 64;
    data.symbolicSampleSize = 7;
    RawChanges changes;
    changes.queues.push_back(queue(kMono, {{0, 1.0}}));
    data.inputParameterChanges = &changes;
    EXPECT_EQ(processor()->process(data), kResultOk);

    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < 64; ++i)
            ASSERT_EQ(buffers.output32(c)[i], sentinel);
    EXPECT_EQ(value(kMono), 1.0) << "the parameters still move";
}

struct LayoutCase
{
    const char* name;
    int32 numInputs, numOutputs;         // buses the host claims
    int32 inputChannels, outputChannels; // channels of bus 0
    bool nullInputChannel, nullOutputChannel;
    bool outputWritten; // else the output buffers stay as they were
};

class BusLayouts : public BadInput, public ::testing::WithParamInterface<LayoutCase>
{};

TEST_P(BusLayouts, MissingBusesAndChannelsNeverReachPastTheHostsBuffers)
{
    const LayoutCase& c = GetParam();
    start(kSample32, 48000.0, 128);
    setValues({{kCrossover, 1.0}});

    // Exactly as many channels as the host claims, each exactly one block long.
    std::vector<std::vector<float>> inputs(size_t(std::max(c.inputChannels, 0)), std::vector<float>(128, 0.5f));
    std::vector<std::vector<float>> outputs(size_t(std::max(c.outputChannels, 0)), std::vector<float>(128, 0.375f));
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
    AudioBusBuffers outputBus{};
    outputBus.numChannels = c.outputChannels;
    outputBus.channelBuffers32 = out.empty() ? nullptr : out.data();

    ProcessData& data = buffers.block(128);
    data.numInputs = c.numInputs;
    data.numOutputs = c.numOutputs;
    data.inputs = c.numInputs > 0 ? &inputBus : nullptr;
    data.outputs = c.numOutputs > 0 ? &outputBus : nullptr;
    ASSERT_EQ(processor()->process(data), kResultOk);

    for (size_t ch = 0; ch < outputs.size(); ++ch)
        for (float s : outputs[ch])
        {
            ASSERT_TRUE(std::isfinite(s));
            if (!c.outputWritten)
            {
                ASSERT_EQ(s, 0.375f) << "channel " << ch;
            }
        }
    if (c.outputWritten && c.numInputs > 0 && !c.nullInputChannel && c.inputChannels >= 2)
    {
        EXPECT_NE(outputs[0][127], 0.375f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, BusLayouts,
    ::testing::Values(LayoutCase{"Stereo", 1, 1, 2, 2, false, false, true},
                      LayoutCase{"MonoInputIsSilence", 1, 1, 1, 2, false, false, true},
                      LayoutCase{"NoInputChannelsIsSilence", 1, 1, 0, 2, false, false, true},
                      LayoutCase{"NullInputChannelIsSilence", 1, 1, 2, 2, true, false, true},
                      LayoutCase{"MonoOutputIsLeftAlone", 1, 1, 2, 1, false, false, false},
                      LayoutCase{"NullOutputChannelIsLeftAlone", 1, 1, 2, 2, false, true, false},
                      LayoutCase{"NoOutputBusMovesParametersOnly", 1, 0, 2, 2, false, false, false},
                      LayoutCase{"NegativeInputBusCountIsSilence", -1, 1, 2, 2, false, false, true},
                      LayoutCase{"NegativeOutputBusCountIsLeftAlone", 1, -1, 2, 2, false, false, false},
                      LayoutCase{"ExtraChannelsAreIgnored", 1, 1, 4, 3, false, false, true}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Texts and plain values

TEST_F(BadInput, TypedTextsAndPlainValuesGiveNormalisedValuesWithinZeroToOne)
{
    struct TextCase
    {
        ParamID id;
        const char16_t* text;
        bool accepted;
        double normalized;
    };
    const TextCase texts[] = {
        {kMuteLeft, u"5", true, 1.0},
        {kMuteLeft, u"-3", true, 0.0},
        {kMono, u"0.25", true, 0.25},
        {kMuteLeft, u"nan", false, 0.0},
        {kMuteLeft, u"inf", false, 0.0},
        {kMuteLeft, u"1e999", false, 0.0},
        {kLeftGain, u"1e999", true, 1.0},
        {kLeftGain, u"-1e999", true, 0.0},
        {kCrossoverFreq, u"-50", true, 0.0},
        {kSolo, u"LOPASS", true, 1.0},
        {kSolo, u"lopass", false, 0.0},
        {ParamID(kNumParams), u"1", false, 0.0},
        {ParamID(0xFFFFFFFF), u"On", false, 0.0},
    };
    for (const TextCase& t : texts)
    {
        std::u16string text(t.text);
        ParamValue v = -7.0;
        const tresult result = controller()->getParamValueByString(t.id, const_cast<TChar*>(text.c_str()), v);
        EXPECT_EQ(result == kResultOk, t.accepted) << "ID " << t.id;
        if (t.accepted)
        {
            EXPECT_EQ(v, t.normalized) << "ID " << t.id;
        }
        else
        {
            EXPECT_EQ(v, -7.0) << "a refused text leaves the value alone, ID " << t.id;
        }
    }

    struct PlainCase
    {
        ParamID id;
        double plain, normalized;
    };
    const PlainCase plains[] = {
        {kMuteLeft, 7.0, 1.0}, {kMuteLeft, -2.0, 0.0}, {kProgSel, 1e308, 1.0}, {kSolo, -2.0, 0.0},
        {kSolo, kInf, 1.0},    {kMono, kNaN, 0.0},     {kLeftGain, 1e9, 1.0},  {kCrossoverFreq, -kInf, 0.0},
    };
    for (const PlainCase& p : plains)
        EXPECT_EQ(controller()->plainParamToNormalized(p.id, p.plain), p.normalized)
            << "ID " << p.id << " plain " << p.plain;
}

TEST_F(BadInput, Vst2ParameterValuesThatAreNoNumbersAreIgnoredAndOthersLimited)
{
    auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(module->symbol("VSTPluginMain"));
    ASSERT_NE(entry, nullptr);
    AEffect* effect = entry([](AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) -> VstIntPtr
                            { return opcode == Vst2Abi::audioMasterVersion ? Vst2Abi::kVstVersionNumber : 0; });
    ASSERT_NE(effect, nullptr);
    ASSERT_GT(effect->numParams, 0);
    struct Case
    {
        float sent, held;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case& c : {Case{0.25f, 0.25f}, Case{nan, 0.25f}, Case{inf, 0.25f}, Case{-inf, 0.25f}, Case{1.5f, 1.0f},
                          Case{-0.5f, 0.0f}})
    {
        effect->setParameter(effect, 0, c.sent);
        EXPECT_EQ(effect->getParameter(effect, 0), c.held) << "sent " << c.sent;
    }
    effect->setParameter(effect, -1, 0.5f); // no such parameters: nothing happens
    effect->setParameter(effect, effect->numParams, 0.5f);
    EXPECT_EQ(effect->getParameter(effect, effect->numParams), 0.0f);
    EXPECT_EQ(effect->getParameter(effect, -1), 0.0f);
    EXPECT_EQ(effect->getParameter(effect, 0), 0.0f) << "the last value held stays";
    effect->dispatcher(effect, Vst2Abi::effClose, 0, 0, nullptr, 0.f);
}

// ---------------------------------------------------------------------------
// Editor descriptions

TEST(DescriptionBadInput, AttributeValuesOfTheWrongShapeLeaveDrawableViews)
{
    const std::string xml = R"(<vstgui-ui-description version="1">
  <colors><color name="bad" rgba="#zz"/><color name="short" rgba="#12"/></colors>
  <control-tags><control-tag name="t" tag="not a number"/></control-tags>
  <fonts><font name="f" font-name="" size="nan"/></fonts>
  <template name="view" class="CViewContainer" origin="abc" size="64, 64" background-color="bad">
    <view class="CAnimKnob" origin="1e999, nan" size="-20, 1e300" sub-pixmaps="-5" height-of-one-image="0"
          min-value="nan" max-value="inf" default-value="-inf" zoom-factor="0" angle-range="1e308" control-tag="t"/>
    <view class="COnOffButton" origin="2, 2" size="nan, nan" bitmap="missing" control-tag="-7"/>
    <view class="COptionMenu" origin="3, 3" size="20, 20" font="f" font-color="short" max-value="-1"/>
    <view class="CParamDisplay" origin="4, 4" size="30, 20" text-alignment="diagonal" font="no such font"/>
    <view class="CTextLabel" origin="5, 5" size="20, 20" title="" transparent="maybe"/>
    <view class="CTextButton" origin="6, 6" size="20, 20" round-radius="-1e308" frame-width="nan"/>
    <view class="CKnob" origin="7, 7" size="0, 0" handle-line-width="inf"/>
  </template>
</vstgui-ui-description>)";
    VSTGUI::UIDescription description("/nonexistent/editor.uidesc");
    ASSERT_TRUE(description.parseText(xml, "/nonexistent"));
    EXPECT_EQ(description.getTagForName("t"), -1) << "a tag that is no number is not registered";
    VSTGUI::CView* view = description.createView("view", nullptr);
    ASSERT_NE(view, nullptr);
    view->forget();
    // The fuzz target's checks: every template makes views that draw.
    RobustnessTest::FailuresAsTestFailures failures;
    KalviorFuzz::uiDescriptionCase(reinterpret_cast<const uint8_t*>(xml.data()), xml.size());
}

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
