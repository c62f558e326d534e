// The processor component as a host drives it: buses, arrangements, setup,
// connection, and the component state (29 big-endian records of ID and
// normalised value, read back tolerantly).

#include "tests/support/KalviorBundle.h"
#include "tests/support/ScopeListener.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KalviorTest::Bytes;
using KalviorTest::kParameterCount;
using KalviorTest::PluginTest;

TEST_F(PluginTest, DeclaresOneStereoMainBusEachWay)
{
    struct Expected
    {
        BusDirection direction;
        const TChar* name;
    };
    for (const Expected& expected : {Expected{kInput, STR16("AudioInput")}, Expected{kOutput, STR16("AudioOutput")}})
    {
        SCOPED_TRACE(expected.direction);
        ASSERT_EQ(component()->getBusCount(kAudio, expected.direction), 1);
        EXPECT_EQ(component()->getBusCount(kEvent, expected.direction), 0);
        BusInfo info{};
        ASSERT_EQ(component()->getBusInfo(kAudio, expected.direction, 0, info), kResultOk);
        EXPECT_EQ(std::basic_string<TChar>(info.name), expected.name);
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
        {"1 Hz", kSample64, 256, 1.0, kResultOk},
        {"the highest rate", kSample64, 256, 1536000.0, kResultOk},
        {"just above the highest rate", kSample64, 256, 1536001.0, kResultFalse},
        {"1 GHz", kSample32, 512, 1e9, kResultFalse},
        {"below 1 Hz", kSample32, 512, 0.5, kResultFalse},
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

TEST_F(PluginTest, KeepsTheFirstPeerUntilItIsDisconnected)
{
    instance->disconnect(); // start without the controller
    auto connection = KalviorTest::query<IConnectionPoint>(component());
    ASSERT_TRUE(connection);
    KalviorTest::ScopeListener first, second;
    EXPECT_EQ(connection->connect(nullptr), kInvalidArgument);
    EXPECT_EQ(connection->connect(&first), kResultOk);
    EXPECT_EQ(connection->connect(&second), kResultFalse);
    EXPECT_EQ(connection->disconnect(&second), kResultFalse); // the second never got in
    EXPECT_EQ(connection->disconnect(&first), kResultOk);     // the first stayed
    EXPECT_EQ(connection->disconnect(&first), kResultFalse);
    EXPECT_EQ(connection->connect(&second), kResultOk);
    EXPECT_EQ(connection->disconnect(&second), kResultOk);
}

TEST_F(PluginTest, DefaultStateIs348BytesOfTheTableDefaults)
{
    tresult result = kResultFalse;
    const Bytes state = KalviorTest::getStateBytes(component(), &result);
    EXPECT_EQ(result, kResultOk);
    ASSERT_EQ(state.size(), 348u);
    EXPECT_EQ(state, KalviorTest::stateOf(KalviorTest::defaultValues()));

    // The first four records spelled out byte by byte.
    const Bytes head = {
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x3F, 0xF0, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x3F, 0xE8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ(Bytes(state.begin(), state.begin() + 48), head);
}

TEST_F(PluginTest, GetStateReportsAStreamThatRefusesData)
{
    for (size_t limit : {0u, 4u, 11u, 100u, 347u})
    {
        SCOPED_TRACE(limit);
        KalviorTest::LimitedStream stream(limit);
        EXPECT_EQ(component()->getState(&stream), kResultFalse);
    }
    KalviorTest::LimitedStream roomy(348);
    EXPECT_EQ(component()->getState(&roomy), kResultOk);
    EXPECT_EQ(roomy.written, KalviorTest::stateOf(KalviorTest::defaultValues()));
}

TEST_F(PluginTest, NullStreamsAreRefused)
{
    EXPECT_EQ(component()->getState(nullptr), kInvalidArgument);
    EXPECT_EQ(component()->setState(nullptr), kInvalidArgument);
}
