// The component state as a host stores it: 29 big-endian records of ID and
// normalised value, read back tolerantly.

#include "tests/support/KalviorBundle.h"

#include <cmath>
#include <cstdint>

using namespace Steinberg;
using KalviorTest::Bytes;
using KalviorTest::PluginTest;

using KalviorTest::kParameterCount;

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
