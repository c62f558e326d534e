// Each controller gets parameter objects of its own (texts, conversions,
// parsing and defaults of every parameter are checked through the built
// bundle, any value and text by the parameter-text fuzz seeds).
#include "params/ParamId.h"
#include "params/createParameters.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

TEST(CreateParameters, EachCallMakesNewObjects)
{
    const ParameterList first = createParameters();
    const ParameterList second = createParameters();
    first[kLeftGain]->setNormalized(0.1);
    EXPECT_NE(first[kLeftGain].get(), second[kLeftGain].get());
    EXPECT_EQ(0.75, second[kLeftGain]->getNormalized());
}

} // namespace
