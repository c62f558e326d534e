#include "params/createParameters.h"

#include "params/ParameterTable.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// What hosts see of each parameter is checked through the built bundle; here
// the controller's objects must agree with the table the processor uses.
TEST(CreateParameters, DefaultsMatchTheTableExceptTheCrossoverFrequency)
{
    const ParameterTable table;
    const ParameterList parameters = createParameters();
    ASSERT_EQ(parameters.size(), table.ids.size());
    for (uint32 id : table.ids)
    {
        const ParameterInfo& info = parameters[id]->getInfo();
        EXPECT_EQ(table.record(id).flags, info.flags) << id;
        if (id == kCrossoverFreq)
            continue;
        EXPECT_NEAR(table.record(id).defaultNormalized, info.defaultNormalizedValue, 1e-15) << id;
    }
    EXPECT_EQ(0.0, parameters[kCrossoverFreq]->getInfo().defaultNormalizedValue);
    EXPECT_NEAR(0.528320833573719, table.record(kCrossoverFreq).defaultNormalized, 1e-15);
}

TEST(CreateParameters, EachCallMakesNewObjects)
{
    const ParameterList first = createParameters();
    const ParameterList second = createParameters();
    first[kLeftGain]->setNormalized(0.1);
    EXPECT_NE(first[kLeftGain].get(), second[kLeftGain].get());
    EXPECT_EQ(0.75, second[kLeftGain]->getNormalized());
}

} // namespace
