// The processor component as a host drives it: buses, arrangements, setup,
// activation, connection and processing.

#include "tests/support/KalviorBundle.h"

#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KalviorTest::PluginTest;

namespace {

std::u16string wide(const char16* text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

} // namespace

TEST_F(PluginTest, DeclaresOneStereoMainBusEachWay)
{
    struct Expected
    {
        BusDirection direction;
        const char16_t* name;
    };
    for (const Expected& expected : {Expected{kInput, u"AudioInput"}, Expected{kOutput, u"AudioOutput"}})
    {
        SCOPED_TRACE(expected.direction);
        ASSERT_EQ(component()->getBusCount(kAudio, expected.direction), 1);
        EXPECT_EQ(component()->getBusCount(kEvent, expected.direction), 0);
        BusInfo info{};
        ASSERT_EQ(component()->getBusInfo(kAudio, expected.direction, 0, info), kResultOk);
        EXPECT_EQ(wide(info.name), expected.name);
        EXPECT_EQ(info.channelCount, 2);
        EXPECT_EQ(info.busType, kMain);
        EXPECT_EQ(info.mediaType, kAudio);
        EXPECT_EQ(info.direction, expected.direction);
        EXPECT_TRUE(info.flags & BusInfo::kDefaultActive);
        SpeakerArrangement arrangement = 0;
        ASSERT_EQ(processor()->getBusArrangement(expected.direction, 0, arrangement), kResultTrue);
        EXPECT_EQ(arrangement, SpeakerArr::kStereo);
        EXPECT_NE(component()->getBusInfo(kAudio, expected.direction, 1, info), kResultOk);
    }
}

TEST_F(PluginTest, SecondInitializeIsRefusedAndAddsNoBus)
{
    EXPECT_EQ(component()->initialize(&host), kResultFalse);
    EXPECT_EQ(component()->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(component()->getBusCount(kAudio, kOutput), 1);
}

TEST_F(PluginTest, AcceptsOnlyOneStereoBusEachWay)
{
    struct Case
    {
        const char* name;
        std::vector<SpeakerArrangement> inputs, outputs;
        tresult expected;
    };
    const Case cases[] = {
        {"stereo to stereo", {SpeakerArr::kStereo}, {SpeakerArr::kStereo}, kResultTrue},
        {"mono in", {SpeakerArr::kMono}, {SpeakerArr::kStereo}, kResultFalse},
        {"mono out", {SpeakerArr::kStereo}, {SpeakerArr::kMono}, kResultFalse},
        {"5.1 in", {SpeakerArr::k51}, {SpeakerArr::kStereo}, kResultFalse},
        {"surround pair", {SpeakerArr::kStereoSurround}, {SpeakerArr::kStereo}, kResultFalse},
        {"no input", {}, {SpeakerArr::kStereo}, kResultFalse},
        {"no output", {SpeakerArr::kStereo}, {}, kResultFalse},
        {"two inputs", {SpeakerArr::kStereo, SpeakerArr::kStereo}, {SpeakerArr::kStereo}, kResultFalse},
        {"two outputs", {SpeakerArr::kStereo}, {SpeakerArr::kStereo, SpeakerArr::kStereo}, kResultFalse},
        {"empty arrangement", {SpeakerArr::kEmpty}, {SpeakerArr::kStereo}, kResultFalse},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<SpeakerArrangement> inputs = c.inputs, outputs = c.outputs;
        EXPECT_EQ(processor()->setBusArrangements(inputs.data(), static_cast<int32>(inputs.size()), outputs.data(),
                                                  static_cast<int32>(outputs.size())),
                  c.expected);
        // Refused or not, the buses stay stereo.
        for (BusDirection direction : {kInput, kOutput})
        {
            SpeakerArrangement arrangement = 0;
            ASSERT_EQ(processor()->getBusArrangement(direction, 0, arrangement), kResultTrue);
            EXPECT_EQ(arrangement, SpeakerArr::kStereo);
        }
    }
}

TEST_F(PluginTest, CanProcess32And64BitSamplesOnly)
{
    EXPECT_EQ(processor()->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(processor()->canProcessSampleSize(kSample64), kResultTrue);
    for (int32 size : {2, -1, 100})
        EXPECT_EQ(processor()->canProcessSampleSize(size), kResultFalse) << size;
}

TEST_F(PluginTest, SetupProcessingAcceptsUsualSetupsAndRefusesImpossibleOnes)
{
    struct Case
    {
        const char* name;
        int32 sampleSize;
        int32 maxBlock;
        double rate;
        tresult expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"32-bit 44.1 kHz", kSample32, 512, 44100.0, kResultOk},
        {"64-bit 48 kHz", kSample64, 4096, 48000.0, kResultOk},
        {"32-bit 96 kHz", kSample32, 1, 96000.0, kResultOk},
        {"64-bit 192 kHz", kSample64, 8192, 192000.0, kResultOk},
        {"fractional rate", kSample32, 256, 44099.5, kResultOk},
        {"sample size 2", 2, 512, 44100.0, kResultFalse},
        {"sample size -1", -1, 512, 44100.0, kResultFalse},
        {"zero rate", kSample32, 512, 0.0, kResultFalse},
        {"negative rate", kSample32, 512, -44100.0, kResultFalse},
        {"NaN rate", kSample32, 512, nan, kResultFalse},
        {"infinite rate", kSample32, 512, std::numeric_limits<double>::infinity(), kResultFalse},
        {"zero block", kSample32, 0, 44100.0, kResultFalse},
        {"negative block", kSample64, -512, 44100.0, kResultFalse},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(instance->setupProcessing(c.rate, c.maxBlock, c.sampleSize), c.expected);
    }
}

TEST_F(PluginTest, NoLatencyAndNoTail)
{
    EXPECT_EQ(processor()->getLatencySamples(), 0u);
    EXPECT_EQ(processor()->getTailSamples(), 0u);
}

TEST_F(PluginTest, ActivationSucceedsBothWays)
{
    ASSERT_EQ(instance->setStereoArrangement(), kResultTrue);
    ASSERT_EQ(instance->setupProcessing(48000.0, 256, kSample32), kResultOk);
    EXPECT_EQ(instance->setActive(true), kResultOk);
    EXPECT_EQ(instance->setProcessing(true), kResultOk);
    EXPECT_EQ(instance->setProcessing(false), kResultOk);
    EXPECT_EQ(instance->setActive(false), kResultOk);
    EXPECT_EQ(instance->setActive(true), kResultOk);
    EXPECT_EQ(instance->setActive(false), kResultOk);
}

namespace {

// A connection point that only says whether it was reached.
class Peer : public IConnectionPoint
{
public:
    tresult PLUGIN_API connect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult PLUGIN_API notify(IMessage*) override { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (FUnknownPrivate::iidEqual(iid, IConnectionPoint::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
        {
            *obj = static_cast<IConnectionPoint*>(this);
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

} // namespace

TEST_F(PluginTest, KeepsTheFirstPeerUntilItIsDisconnected)
{
    instance->disconnect(); // start without the controller
    auto connection = KalviorTest::query<IConnectionPoint>(component());
    ASSERT_TRUE(connection);
    Peer first, second;
    EXPECT_EQ(connection->connect(nullptr), kInvalidArgument);
    EXPECT_EQ(connection->connect(&first), kResultOk);
    EXPECT_EQ(connection->connect(&second), kResultFalse);
    EXPECT_EQ(connection->disconnect(&second), kResultFalse); // the second never got in
    EXPECT_EQ(connection->disconnect(&first), kResultOk);     // the first stayed
    EXPECT_EQ(connection->disconnect(&first), kResultFalse);
    EXPECT_EQ(connection->connect(&second), kResultOk);
    EXPECT_EQ(connection->disconnect(&second), kResultOk);
}

namespace {

struct ProcessCase
{
    int32 sampleSize;
    int32 blockSize;
};

void PrintTo(const ProcessCase& c, std::ostream* out)
{
    *out << (c.sampleSize == kSample64 ? "64-bit, " : "32-bit, ") << c.blockSize << " frames";
}

class DefaultProcessing : public PluginTest, public ::testing::WithParamInterface<ProcessCase>
{
};

// A deterministic, non-repeating test signal, different on each channel.
double testSignal(int32 channel, int32 frame)
{
    return std::sin(0.01 * (frame + 1) * (channel + 1.3)) * (channel ? -0.6 : 0.8);
}

} // namespace

// With every parameter at its default the effect passes the signal unchanged.
TEST_P(DefaultProcessing, PassesTheInputThrough)
{
    const ProcessCase& c = GetParam();
    ASSERT_EQ(instance->setStereoArrangement(), kResultTrue);
    ASSERT_EQ(instance->setupProcessing(44100.0, c.blockSize, c.sampleSize), kResultOk);
    ASSERT_EQ(instance->setActive(true), kResultOk);
    ASSERT_EQ(instance->setProcessing(true), kResultOk);

    Hosting::ProcessBuffers buffers;
    buffers.prepare(c.sampleSize, c.blockSize);
    // Tolerance: 64-bit math through identity matrices; 32-bit adds one float rounding.
    const double tolerance = c.sampleSize == kSample64 ? 1e-12 : 1e-7;
    for (int32 block = 0; block < 3; ++block)
    {
        for (int32 ch = 0; ch < 2; ++ch)
            for (int32 f = 0; f < c.blockSize; ++f)
                buffers.setInput(ch, f, testSignal(ch, block * c.blockSize + f));
        ASSERT_EQ(processor()->process(buffers.block(c.blockSize)), kResultOk);
        for (int32 ch = 0; ch < 2; ++ch)
            for (int32 f = 0; f < c.blockSize; ++f)
                ASSERT_NEAR(buffers.output(ch, f), buffers.input(ch, f), tolerance)
                    << "block " << block << " channel " << ch << " frame " << f;
        EXPECT_EQ(buffers.outputBus.silenceFlags, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(SampleSizesAndBlocks, DefaultProcessing,
                         ::testing::Values(ProcessCase{kSample32, 1}, ProcessCase{kSample32, 7},
                                           ProcessCase{kSample32, 512}, ProcessCase{kSample32, 4096},
                                           ProcessCase{kSample64, 1}, ProcessCase{kSample64, 7},
                                           ProcessCase{kSample64, 512}, ProcessCase{kSample64, 4096}),
                         [](const ::testing::TestParamInfo<ProcessCase>& info) {
                             return std::string(info.param.sampleSize == kSample64 ? "f64_" : "f32_") +
                                    std::to_string(info.param.blockSize);
                         });

TEST_F(PluginTest, SilentInputGivesSilentFlaggedOutput)
{
    for (int32 sampleSize : {kSample32, kSample64})
    {
        SCOPED_TRACE(sampleSize);
        ASSERT_EQ(instance->setupProcessing(44100.0, 64, sampleSize), kResultOk);
        ASSERT_EQ(instance->setActive(true), kResultOk);
        Hosting::ProcessBuffers buffers;
        buffers.prepare(sampleSize, 64);
        ProcessData& data = buffers.block(64);
        buffers.inputBus.silenceFlags = 3;
        ASSERT_EQ(processor()->process(data), kResultOk);
        EXPECT_EQ(buffers.outputBus.silenceFlags & 3, 3u);
        for (int32 ch = 0; ch < 2; ++ch)
            for (int32 f = 0; f < 64; ++f)
                ASSERT_EQ(buffers.output(ch, f), 0.0);
        ASSERT_EQ(instance->setActive(false), kResultOk);
    }
}

TEST_F(PluginTest, ProgramChangeReportsAllProgramParametersAtOffsetZero)
{
    ASSERT_EQ(instance->setupProcessing(44100.0, 128, kSample32), kResultOk);
    ASSERT_EQ(instance->setActive(true), kResultOk);
    Hosting::ProcessBuffers buffers;
    buffers.prepare(kSample32, 128);
    Hosting::ParameterChanges input, output;
    ASSERT_TRUE(input.addChange(0, 0, 0.2)); // "Bass Squeeze"
    ASSERT_EQ(processor()->process(buffers.block(128, &input, &output)), kResultOk);

    ASSERT_EQ(output.getParameterCount(), 23);
    // Crossover "LR-2", Crossover Freq 0.2, LP Width 0; every other program parameter at its default.
    const double expected[29] = {-1, -1, -1, 0.75, 0.75, 0, 0, 0, 0, 0, 1, 0.5, 0.5, 0.3, 0.75,
                                 0.5, 0.5, 0.5, 0.3, 0.5, 0.75, 0.0, 0.5, 0.5, 0.2, -1, -1, 0, -1};
    for (int32 i = 0; i < output.getParameterCount(); ++i)
    {
        IParamValueQueue* queue = output.getParameterData(i);
        const ParamID id = queue->getParameterId();
        ASSERT_LT(id, 29u);
        SCOPED_TRACE(id);
        EXPECT_GE(expected[id], 0.0) << "not a program parameter";
        ASSERT_EQ(queue->getPointCount(), 1);
        int32 offset = -1;
        ParamValue value = -1;
        ASSERT_EQ(queue->getPoint(0, offset, value), kResultOk);
        EXPECT_EQ(offset, 0);
        EXPECT_NEAR(value, expected[id], 1e-15);
    }

    // Reported once only.
    output.clear();
    input.clear();
    ASSERT_EQ(processor()->process(buffers.block(128, &input, &output)), kResultOk);
    EXPECT_EQ(output.getParameterCount(), 0);
}

TEST_F(PluginTest, ProgramReportsWaitForAnOutputList)
{
    ASSERT_EQ(instance->setupProcessing(44100.0, 32, kSample64), kResultOk);
    ASSERT_EQ(instance->setActive(true), kResultOk);
    Hosting::ProcessBuffers buffers;
    buffers.prepare(kSample64, 32);
    Hosting::ParameterChanges input, output;
    ASSERT_TRUE(input.addChange(0, 0, 0.4)); // "Top and Bottom Pan"
    ASSERT_EQ(processor()->process(buffers.block(32, &input, nullptr)), kResultOk);
    input.clear();
    ASSERT_EQ(processor()->process(buffers.block(32, &input, &output)), kResultOk);
    EXPECT_EQ(output.getParameterCount(), 23);
    IParamValueQueue* crossover = output.find(23);
    ASSERT_NE(crossover, nullptr);
    int32 offset = -1;
    ParamValue value = -1;
    ASSERT_EQ(crossover->getPoint(0, offset, value), kResultOk);
    EXPECT_EQ(value, 1.0); // "LR-4"
}
