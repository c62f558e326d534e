#include "params/FactoryPresets.h"
#include "params/ParamId.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace {

// The values every program starts from, by ID (ln 3 / ln 8 is 300 Hz on the frequency curve).
const std::map<uint32_t, double> kProgramDefaults = {
    {kLeftGain, 0.75},  {kRightGain, 0.75},
    {kMuteLeft, 0.0},   {kMuteRight, 0.0},
    {kInvertLeft, 0.0}, {kInvertRight, 0.0},
    {kLeftPan, 0.0},    {kRightPan, 1.0},
    {kBalance, 0.5},    {kAsymmetry, 0.5},
    {kAsymmCrush, 0.3}, {kHpGain, 0.75},
    {kHpWidth, 0.5},    {kHpPan, 0.5},
    {kPanLaw, 0.5},     {kPanCrush, 0.3},
    {kGainTrim, 0.5},   {kLpGain, 0.75},
    {kLpWidth, 0.5},    {kLpPan, 0.5},
    {kCrossover, 0.0},  {kCrossoverFreq, std::log(3.0) / std::log(8.0)},
    {kSolo, 0.0},
};

struct ProgramCase
{
    int index;
    const char* name;
    std::map<uint32_t, double> own;
};

const ProgramCase kCases[] = {
    {0, "Default", {}},
    {1, "Bass Squeeze", {{kCrossover, 0.5}, {kCrossoverFreq, 0.2}, {kLpWidth, 0.0}}},
    {2, "Top and Bottom Pan", {{kCrossover, 1.0}}},
    {3, "Mono Compat Pan", {{kPanCrush, 1.0}, {kPanLaw, 1.0}}},
    {4, "Stereo Rotation", {{kPanCrush, 0.0}, {kPanLaw, 0.0}}},
    {5, "Stereosonic Shuffle", {{kCrossover, 0.5}, {kCrossoverFreq, 0.935785}, {kHpWidth, 0.35}}},
};

} // namespace

TEST(FactoryPresets, ProgramIndexFromNormalisedValue)
{
    struct Case
    {
        double value;
        int index;
    };
    const Case cases[] = {{0.0, 0}, {0.1, 0}, {0.2, 1},  {0.4, 2}, {0.6, 3},          {0.8, 4},
                          {0.9, 5}, {1.0, 5}, {-0.5, 0}, {7.0, 5}, {std::nan(""), 0}, {HUGE_VAL, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(programIndex(c.value), c.index) << c.value;
    for (int i = 0; i < kNumPrograms; ++i) // the list entry i sits at i / 5
        EXPECT_EQ(programIndex(i / 5.0), i);
}

TEST(FactoryPresets, ChangeListsOfEveryProgram)
{
    const ParameterTable table;
    for (const ProgramCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::string(kProgramNames[c.index]), c.name);
        OutputChange out[kNumParams];
        const int count = programChanges(table, kProgSel, c.index / 5.0, out);
        ASSERT_EQ(count, 23);
        for (int i = 0; i < count; ++i)
        {
            if (i > 0)
            {
                EXPECT_LT(out[i - 1].id, out[i].id);
            }
            // nothing outside the programs, ProgSel included
            ASSERT_TRUE(kProgramDefaults.count(out[i].id)) << "unexpected ID " << out[i].id;
            const auto own = c.own.find(out[i].id);
            const double expected = own != c.own.end() ? own->second : kProgramDefaults.at(out[i].id);
            EXPECT_NEAR(out[i].value, expected, 1e-12) << "ID " << out[i].id;
        }
    }
}
