// The shared parameter table against the published list of parameters.

#include "params/ParameterTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

struct Row
{
    uint32_t id;
    double defaultNormalized;
    int32_t flags;
    bool inPreset;
};

// ID, default normalised value, ParameterInfo flags, program membership.
const Row kRows[] = {
    {0, 0.0, 0x8000, false},  {1, 0.0, 0x10001, false}, {2, 1.0, 0, false},     {3, 0.75, 1, true},
    {4, 0.75, 1, true},       {5, 0.0, 1, true},         {6, 0.0, 1, true},      {7, 0.0, 1, true},
    {8, 0.0, 1, true},        {9, 0.0, 1, true},         {10, 1.0, 1, true},     {11, 0.5, 1, true},
    {12, 0.5, 1, true},       {13, 0.3, 1, true},        {14, 0.75, 1, true},    {15, 0.5, 1, true},
    {16, 0.5, 1, true},       {17, 0.5, 1, true},        {18, 0.3, 1, true},     {19, 0.5, 1, true},
    {20, 0.75, 1, true},      {21, 0.5, 1, true},        {22, 0.5, 1, true},     {23, 0.0, 0, true},
    {24, 0.528320833573719, 1, true}, {25, 0.0, 0, false}, {26, 0.0, 0, false}, {27, 0.0, 0, true},
    {28, 0.0, 0, false},
};

} // namespace

TEST(ParameterTable, RecordsMatchThePublishedDefaultsFlagsAndProgramMembership)
{
    const ParameterTable table;
    ASSERT_EQ(table.ids.size(), 29u);
    ASSERT_EQ(table.records.size(), 29u);
    for (const Row& row : kRows)
    {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(table.ids[row.id], row.id);
        ASSERT_TRUE(table.contains(row.id));
        const ParameterRecord& record = table.record(row.id);
        EXPECT_EQ(record.defaultNormalized, row.defaultNormalized);
        EXPECT_EQ(record.flags, row.flags);
        EXPECT_EQ(record.inPreset, row.inPreset);
    }
    // 100 * 8^v = 300 Hz
    EXPECT_NEAR(table.record(kCrossoverFreq).defaultNormalized, static_cast<double>(std::log(3.0L) / std::log(8.0L)),
                1e-15);
    for (uint32_t id : {29u, 30u, 1000u, std::numeric_limits<uint32_t>::max()})
        EXPECT_FALSE(table.contains(id)) << id;
}
