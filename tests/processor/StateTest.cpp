// The component state as a host stores it: 29 big-endian records of ID and
// normalised value, read back tolerantly.

#include "tests/support/KalviorBundle.h"

#include <cmath>
#include <cstdint>
#include <limits>

using namespace Steinberg;
using KalviorTest::Bytes;
using KalviorTest::PluginTest;

namespace {

using KalviorTest::kParameterCount;

// A state in which every value differs from its default.
Bytes otherState()
{
    KalviorTest::Values values = KalviorTest::defaultValues();
    for (double& value : values)
        value = value > 0.5 ? 0.125 : 0.875;
    return KalviorTest::stateOf(values);
}

double valueOf(const Bytes& state, uint32_t wanted)
{
    uint32_t id = 0;
    double value = 0.0;
    for (size_t i = 0; KalviorTest::readRecord(state, i, id, value); ++i)
        if (id == wanted)
            return value;
    return std::numeric_limits<double>::quiet_NaN();
}

} // namespace

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

TEST_F(PluginTest, StateRoundTripKeepsEveryValueExactly)
{
    Bytes state;
    for (uint32_t id = 0; id < kParameterCount; ++id)
        KalviorTest::appendRecord(state, id, std::nextafter(0.1 + id / 40.0, 1.0)); // values no decimal text keeps
    ASSERT_EQ(KalviorTest::setStateBytes(component(), state), kResultOk);
    EXPECT_EQ(KalviorTest::getStateBytes(component()), state);
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

TEST_F(PluginTest, ControllerFollowsTheProcessorState)
{
    if (!controller())
        GTEST_SKIP() << "the bundle has no edit controller";
    ASSERT_EQ(KalviorTest::setStateBytes(component(), otherState()), kResultOk);
    ASSERT_EQ(instance->transferState(), kResultOk);
    const Bytes other = otherState();
    for (uint32_t id = 0; id < kParameterCount; ++id)
        EXPECT_EQ(controller()->getParamNormalized(id), valueOf(other, id)) << "ID " << id;
}
