// Breakpoint lists, cut points and resampling of one block's automation.

#include "dsp/Breakpoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

struct HostPoint
{
    uint32_t offset;
    double value;
};

struct Expected
{
    double value;
    double jump; // Breakpoint::kNoJump for none
};

void addQueue(BlockAutomation& automation, uint32_t id, double previous, const std::vector<HostPoint>& points)
{
    automation.addList(id, previous, static_cast<int32_t>(points.size()),
                       [&points](int32_t j, uint32_t& offset, double& value)
                       {
                           offset = points[j].offset;
                           value = points[j].value;
                           return true;
                       });
}

std::vector<uint32_t> cutsOf(const BlockAutomation& automation)
{
    const SplitOffsets& cuts = automation.splitOffsets();
    return std::vector<uint32_t>(cuts.data(), cuts.data() + cuts.size());
}

void expectList(const BlockAutomation& automation, uint32_t id, const std::vector<Expected>& expected)
{
    const BreakpointList& list = automation.list(id);
    ASSERT_EQ(list.size(), expected.size()) << "ID " << id;
    const std::vector<uint32_t> cuts = cutsOf(automation);
    for (uint32_t k = 0; k < list.size(); ++k)
    {
        EXPECT_EQ(list[k].offset, cuts[k]) << "breakpoint " << k;
        EXPECT_NEAR(list[k].value, expected[k].value, 1e-15) << "breakpoint " << k;
        EXPECT_EQ(list[k].jump, expected[k].jump) << "breakpoint " << k;
    }
}

constexpr double kNone = Breakpoint::kNoJump;

class BreakpointsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(automation.reserve(512)); }
    BlockAutomation automation;
};

} // namespace

// How points cut a block into ramps is checked on the processed audio through
// the built bundle; these are the lists themselves.
TEST_F(BreakpointsTest, SeveralPointsAtOneOffsetMakeAJump)
{
    struct Case
    {
        const char* name;
        std::vector<HostPoint> points;
        std::vector<uint32_t> cuts;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"at 0, the last one that differs wins", {{0, 0.2}, {0, 0.4}}, {0, 512}, {{0.5, kNone}, {0.4, kNone}}},
        {"two values", {{200, 0.25}, {200, 0.75}}, {0, 200, 512}, {{0.5, kNone}, {0.25, 0.75}, {0.75, kNone}}},
        {"repeat", {{200, 0.25}, {200, 0.25}}, {0, 200, 512}, {{0.5, kNone}, {0.25, kNone}, {0.25, kNone}}},
        {"three values",
         {{200, 0.25}, {200, 0.75}, {200, 0.1}},
         {0, 200, 512},
         {{0.5, kNone}, {0.25, 0.1}, {0.1, kNone}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        automation.reset(512);
        addQueue(automation, kBalance, 0.5, c.points);
        automation.resample();
        EXPECT_EQ(cutsOf(automation), c.cuts);
        expectList(automation, kBalance, c.expected);
    }
}

TEST_F(BreakpointsTest, ValuesOutsideTheRangeAreClampedAndGarbageIgnored)
{
    automation.reset(512);
    addQueue(automation, kLeftGain, 0.75,
             {{10, 1.5},
              {20, -0.5},
              {30, std::numeric_limits<double>::quiet_NaN()},
              {40, std::numeric_limits<double>::infinity()}});
    automation.resample();
    const BreakpointList& list = automation.list(kLeftGain);
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[1].value, 1.0);
    EXPECT_EQ(list[2].value, 0.0);
    EXPECT_EQ(list[3].value, 0.0); // a non-finite value keeps what was reached
    EXPECT_EQ(list[4].value, 0.0);
}

TEST_F(BreakpointsTest, ALaterQueueOfTheSameIdReplacesItsListButKeepsTheCuts)
{
    automation.reset(512);
    addQueue(automation, kHpPan, 0.5, {{64, 0.1}});
    addQueue(automation, kHpPan, 0.5, {{256, 0.9}});
    automation.resample();
    ASSERT_EQ(automation.automatedCount(), 1u);
    EXPECT_EQ(cutsOf(automation), (std::vector<uint32_t>{0, 64, 256, 512}));
    expectList(automation, kHpPan, {{0.5, kNone}, {0.5 + 0.4 * 64 / 256, kNone}, {0.9, kNone}, {0.9, kNone}});
}

TEST_F(BreakpointsTest, TheCutsHoldEveryListsOffsetsOnceInOrder)
{
    struct Case
    {
        const char* name;
        std::vector<std::vector<uint32_t>> lists; // the offsets of each parameter's points
        std::vector<uint32_t> cuts;
    };
    const Case cases[] = {
        {"shared offsets", {{64, 128, 192}, {64, 128, 192}, {64, 128, 192}}, {0, 64, 128, 192, 512}},
        {"shared at first, then new", {{100, 300}, {100, 200, 300}}, {0, 100, 200, 300, 512}},
        {"around the others", {{100, 300}, {50, 400}}, {0, 50, 100, 300, 400, 512}},
        {"a subset, not from the start", {{100, 200, 300}, {300}}, {0, 100, 200, 300, 512}},
        {"offsets at 0 and past the end", {{0, 0, 256, 600}, {0, 511}}, {0, 256, 511, 512}},
    };
    const uint32_t ids[] = {kLeftGain, kRightGain, kBalance};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        automation.reset(512);
        for (size_t l = 0; l < c.lists.size(); ++l)
        {
            std::vector<HostPoint> points;
            for (uint32_t offset : c.lists[l])
                points.push_back({offset, 0.25 + 0.1 * static_cast<double>(points.size())});
            addQueue(automation, ids[l], 0.5, points);
        }
        automation.resample();
        EXPECT_EQ(cutsOf(automation), c.cuts);
        for (size_t l = 0; l < c.lists.size(); ++l)
            EXPECT_EQ(automation.list(ids[l]).size(), c.cuts.size()) << "list " << l;
    }
}

TEST(BreakpointsCapacity, ReserveGrowsAndNeverShrinks)
{
    BlockAutomation automation;
    EXPECT_FALSE(automation.ready());
    ASSERT_TRUE(automation.reserve(256));
    ASSERT_TRUE(automation.reserve(128));
    EXPECT_EQ(automation.sampleCapacity(), 256u);
    ASSERT_TRUE(automation.reserve(1024));
    EXPECT_EQ(automation.sampleCapacity(), 1024u);

    // A point at every offset of a full block fits.
    automation.reset(1024);
    std::vector<HostPoint> every;
    for (uint32_t i = 0; i < 1024; ++i)
        every.push_back({i, (i % 2) ? 1.0 : 0.0});
    addQueue(automation, kBalance, 0.5, every);
    automation.resample();
    EXPECT_EQ(automation.splitOffsets().size(), 1025u);
    for (uint32_t k = 1; k < 1024; ++k)
        ASSERT_EQ(automation.list(kBalance)[k].value, (k % 2) ? 1.0 : 0.0) << k;
}
