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

// How points cut a block into ramps is checked on the processed audio of the
// chain; these are the lists themselves: jumps, limits, replaced queues and
// the cuts every list shares.
TEST_F(BreakpointsTest, ListsFollowTheQueuesAndShareOneSetOfCuts)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<uint32_t, std::vector<HostPoint>>> queues; // each starting from 0.5
        std::vector<uint32_t> cuts;
        std::vector<Expected> first; // the first queue's list; empty: only its length is checked
    };
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"at 0, the last one that differs wins",
         {{kBalance, {{0, 0.2}, {0, 0.4}}}},
         {0, 512},
         {{0.5, kNone}, {0.4, kNone}}},
        {"two values at one offset jump",
         {{kBalance, {{200, 0.25}, {200, 0.75}}}},
         {0, 200, 512},
         {{0.5, kNone}, {0.25, 0.75}, {0.75, kNone}}},
        {"a repeated value is no jump",
         {{kBalance, {{200, 0.25}, {200, 0.25}}}},
         {0, 200, 512},
         {{0.5, kNone}, {0.25, kNone}, {0.25, kNone}}},
        {"three values jump from the first to the last",
         {{kBalance, {{200, 0.25}, {200, 0.75}, {200, 0.1}}}},
         {0, 200, 512},
         {{0.5, kNone}, {0.25, 0.1}, {0.1, kNone}}},
        {"values are limited; one that is no number keeps what was reached",
         {{kLeftGain, {{10, 1.5}, {20, -0.5}, {30, nan}, {40, inf}}}},
         {0, 10, 20, 30, 40, 512},
         {{0.5, kNone}, {1.0, kNone}, {0.0, kNone}, {0.0, kNone}, {0.0, kNone}, {0.0, kNone}}},
        {"a later queue of the same ID replaces its list but keeps the cuts",
         {{kHpPan, {{64, 0.1}}}, {kHpPan, {{256, 0.9}}}},
         {0, 64, 256, 512},
         {{0.5, kNone}, {0.5 + 0.4 * 64 / 256, kNone}, {0.9, kNone}, {0.9, kNone}}},
        {"shared offsets",
         {{kLeftGain, {{64, 0.1}, {128, 0.2}, {192, 0.3}}},
          {kRightGain, {{64, 0.1}, {128, 0.2}, {192, 0.3}}},
          {kBalance, {{64, 0.1}, {128, 0.2}, {192, 0.3}}}},
         {0, 64, 128, 192, 512},
         {}},
        {"around the others",
         {{kLeftGain, {{100, 0.1}, {300, 0.2}}}, {kRightGain, {{50, 0.1}, {400, 0.2}}}},
         {0, 50, 100, 300, 400, 512},
         {}},
        {"offsets at 0 and past the end",
         {{kLeftGain, {{0, 0.1}, {0, 0.2}, {256, 0.3}, {600, 0.4}}}, {kRightGain, {{0, 0.1}, {511, 0.2}}}},
         {0, 256, 511, 512},
         {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        automation.reset(512);
        for (const auto& [id, points] : c.queues)
            addQueue(automation, id, 0.5, points);
        automation.resample();
        EXPECT_EQ(cutsOf(automation), c.cuts);
        for (const auto& queue : c.queues)
            EXPECT_EQ(automation.list(queue.first).size(), c.cuts.size()) << "ID " << queue.first;
        if (!c.first.empty())
            expectList(automation, c.queues[0].first, c.first);
    }
}
