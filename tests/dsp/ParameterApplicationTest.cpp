#include "dsp/SignalPath.h"
#include "params/ParamId.h"

#include <gtest/gtest.h>

namespace {

// The signal path's one way in: stage a value, recompute the operators.
void apply(SignalPath& p, uint32_t id, double v)
{
    p.stageParameter(id, v);
    p.updateOperators();
}

} // namespace

// How each value becomes a band matrix is checked against a long double
// reference through the built bundle; these are the thresholds that decide
// switches and lists.
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
