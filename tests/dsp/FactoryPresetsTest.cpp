#include "params/FactoryPresets.h"
#include "params/ParamId.h"
#include "tests/support/ParameterContract.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace {

// What each program sets apart from the defaults it starts from.
struct ProgramCase
{
    int index;
    std::map<uint32_t, double> own;
};

const ProgramCase kCases[] = {
    {0, {}},
    {1, {{kCrossover, 0.5}, {kCrossoverFreq, 0.2}, {kLpWidth, 0.0}}},
    {2, {{kCrossover, 1.0}}},
    {3, {{kPanCrush, 1.0}, {kPanLaw, 1.0}}},
    {4, {{kPanCrush, 0.0}, {kPanLaw, 0.0}}},
    {5, {{kCrossover, 0.5}, {kCrossoverFreq, 0.935785}, {kHpWidth, 0.35}}},
};

} // namespace

TEST(FactoryPresets, ChangeListsOfEveryProgram)
{
    const ParameterTable table;
    for (const ProgramCase& c : kCases)
    {
        const char* name = KalviorTest::kProgramNames[c.index];
        SCOPED_TRACE(name);
        EXPECT_EQ(std::string(kProgramNames[c.index]), name);
        OutputChange out[kNumParams];
        const int count = programChanges(table, kProgSel, c.index / 5.0, out);
        int expectedCount = 0;
        for (const KalviorTest::ParameterRow& row : KalviorTest::kParameters)
            expectedCount += row.inPreset;
        ASSERT_EQ(count, expectedCount);
        for (int i = 0; i < count; ++i)
        {
            if (i > 0)
            {
                EXPECT_LT(out[i - 1].id, out[i].id);
            }
            // nothing outside the programs, ProgSel included
            const KalviorTest::ParameterRow& row = KalviorTest::kParameters[out[i].id];
            ASSERT_TRUE(row.inPreset) << "unexpected ID " << out[i].id;
            const auto own = c.own.find(out[i].id);
            const double expected = own != c.own.end() ? own->second : row.defaultNormalized;
            EXPECT_NEAR(out[i].value, expected, 1e-12) << "ID " << out[i].id;
        }
    }
}
