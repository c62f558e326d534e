#include "dsp/SignalPath.h"
#include "params/ParamId.h"
#include "tests/support/ParameterContract.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The signal path's one way in: stage a value, recompute the operators.
void apply(SignalPath& p, uint32_t id, double v)
{
    p.stageParameter(id, v);
    p.updateOperators();
}

} // namespace

// How each value becomes a band matrix is checked against a long double
// reference through the built bundle; these are the rules that decide
// switches, lists, the crossover and which values count at all.
TEST(ParameterApplication, SwitchesAtOneHalfAndListsAtThirds)
{
    struct Case
    {
        double v;
        bool on;        // every switch
        uint32_t index; // three-way lists
    };
    // one path throughout: each value applies over the one before, up and down again
    const Case cases[] = {{0.0, false, 0},   {0.3333, false, 0}, {0.3334, false, 1}, {0.4999, false, 1}, {0.5, true, 1},
                          {0.6666, true, 1}, {0.6667, true, 2},  {1.0, true, 2},     {0.0, false, 0}};
    SignalPath p;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.v);
        for (uint32_t id : {kBypass, kScope, kInputFormat, kOutputFormat, kMuteLeft, kSolo, kCrossover})
            apply(p, id, c.v);
        for (bool flag : {p.bypass, p.scopeOn, p.inputMS, p.outputMS, p.inputGain.muteL})
            EXPECT_EQ(flag, c.on);
        EXPECT_EQ(p.solo, c.index);
        EXPECT_EQ(p.crossoverOn, c.index != 0);
        if (c.index != 0) // OFF keeps the slope
        {
            EXPECT_EQ(p.crossover.lr4, c.index == 2 ? 1 : 0);
        }
    }
}

TEST(ParameterApplication, CrossoverOffKeepsSlopeAndStates)
{
    SignalPath p;
    ASSERT_TRUE(p.crossover.prepare(64, 44100));
    apply(p, kCrossover, 1.0); // LR-4
    double left[64], right[64];
    for (int i = 0; i < 64; ++i)
        left[i] = right[i] = std::sin(i * 0.1);
    p.crossover.split(64, left, right);
    const double stateBefore = p.crossover.lowA.channelState[0].w1;
    ASSERT_NE(stateBefore, 0.0);

    apply(p, kCrossover, 0.0); // OFF: slope stays
    EXPECT_FALSE(p.crossoverOn);
    EXPECT_EQ(p.crossover.lr4, 1);
    apply(p, kCrossover, 1.0); // LR-4 again: no retune, no clearing
    EXPECT_TRUE(p.crossoverOn);
    EXPECT_EQ(p.crossover.lowA.channelState[0].w1, stateBefore);
    apply(p, kCrossover, 0.5); // LR-2 clears every filter
    EXPECT_EQ(p.crossover.lr4, 0);
    for (const auto* f : {&p.crossover.lowA, &p.crossover.lowB})
        EXPECT_EQ(f->channelState[0].w1, 0.0);
    for (const auto* f : {&p.crossover.highA, &p.crossover.highB})
        EXPECT_EQ(f->channelState[1].w2, 0.0);
}

TEST(ParameterApplication, CrossoverFrequencyInWholeHertz)
{
    struct Case
    {
        double v;
        uint32_t low, high; // accepted range: a value exactly on a whole hertz may land one below
    };
    const Case cases[] = {
        {0.0, 100, 100}, {0.2, 151, 151}, {0.5, 282, 282}, {KalviorTest::kCrossoverFreqDefault, 299, 300},
        {1.0, 799, 800},
    };
    for (const Case& c : cases)
    {
        SignalPath p;
        apply(p, kCrossoverFreq, c.v);
        EXPECT_GE(p.crossover.frequency, c.low) << c.v;
        EXPECT_LE(p.crossover.frequency, c.high) << c.v;
        // the whole-hertz value is the floor of 100 * 8^v
        const long double hz = 100.0L * std::pow(8.0L, static_cast<long double>(c.v));
        EXPECT_LE(std::fabs(static_cast<long double>(p.crossover.frequency) - std::floor(hz)), 1.0L) << c.v;
        EXPECT_EQ(p.crossover.lowA.params[2], double(p.crossover.frequency));
    }
}
