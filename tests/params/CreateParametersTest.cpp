#include "params/createParameters.h"

#include "params/MyStringListParameter.h"
#include "params/ParameterTable.h"

#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using TestText::narrow;

namespace {

struct Expected
{
    const char* title;
    const char* shortTitle;
    const char* units;
    int32 stepCount;
    double defaultNormalized;
    int32 flags;
    int32 precision;
    const char* typeName;
    std::vector<std::string> entries;
};

// What hosts must see, row by row in ID order.
const std::vector<Expected>& expectedParameters()
{
    static const std::vector<Expected> rows = {
        {"ProgSel",
         "ProgSel",
         "",
         5,
         0,
         0x8000,
         0,
         "MyParameter",
         {"Default", "Bass Squeeze", "Top and Bottom Pan", "Mono Compat Pan", "Stereo Rotation",
          "Stereosonic Shuffle"}},
        {"Bypass", "Bypass", "", 1, 0, 0x10001, 0, "MyParameter", {}},
        {"Scope", "Scope", "", 1, 1, 0, 0, "MyParameter", {}},
        {"Left Gain", "L Gain", "dB", 0, 0.75, 1, 1, "FaderParameter", {}},
        {"Right Gain", "R Gain", "dB", 0, 0.75, 1, 1, "FaderParameter", {}},
        {"Mute Left", "L Mute", "", 1, 0, 1, 0, "MyParameter", {}},
        {"Mute Right", "R Mute", "", 1, 0, 1, 0, "MyParameter", {}},
        {"Invert Left", "L Phase", "", 1, 0, 1, 0, "MyParameter", {}},
        {"Invert Right", "R Phase", "", 1, 0, 1, 0, "MyParameter", {}},
        {"Left Pan", "L Pan", "degs", 0, 0, 1, 0, "ScaledParameter", {}},
        {"Right Pan", "R Pan", "degs", 0, 1, 1, 0, "ScaledParameter", {}},
        {"Balance", "Balance", "degs", 0, 0.5, 1, 0, "ScaledParameter", {}},
        {"Asymmetry", "Asymm", "degs", 0, 0.5, 1, 0, "ScaledParameter", {}},
        {"Asymm Crush", "ACrush", "%", 0, 0.3, 1, 0, "ScaledParameter", {}},
        {"HP Gain", "HPGain", "dB", 0, 0.75, 1, 1, "FaderParameter", {}},
        {"HP Width", "HPWidth", "", 0, 0.5, 1, 2, "ScaledParameter", {}},
        {"HP Pan", "HPPan", "degs", 0, 0.5, 1, 0, "ScaledParameter", {}},
        {"Pan Law", "PanLaw", "", 0, 0.5, 1, 1, "ScaledParameter", {}},
        {"Pan Crush", "PCrush", "%", 0, 0.3, 1, 0, "ScaledParameter", {}},
        {"Gain Trim", "O Trim", "", 0, 0.5, 1, 1, "ScaledParameter", {}},
        {"LP Gain", "LPGain", "dB", 0, 0.75, 1, 1, "FaderParameter", {}},
        {"LP Width", "LPWidth", "", 0, 0.5, 1, 2, "ScaledParameter", {}},
        {"LP Pan", "LPPan", "degs", 0, 0.5, 1, 0, "ScaledParameter", {}},
        {"Crossover", "Xover", "", 2, 0, 0, 0, "MyParameter", {"OFF", "LR-2", "LR-4"}},
        {"Crossover Freq", "XFreq", "", 0, 0, 1, 0, "LogParameter", {}},
        {"Input Format", "InFormat", "", 1, 0, 0, 0, "MyParameter", {"L/R", "M/S"}},
        {"Output Format", "OutFormat", "", 1, 0, 0, 0, "MyParameter", {"L/R", "M/S"}},
        {"Solo", "Solo", "", 2, 0, 0, 0, "MyParameter", {"OFF", "HIPASS", "LOPASS"}},
        {"Mono", "Mono", "", 1, 0, 0, 0, "MyParameter", {}},
    };
    return rows;
}

TEST(CreateParameters, EveryParameterAsHostsSeeIt)
{
    const ParameterList parameters = createParameters();
    const auto& expected = expectedParameters();
    ASSERT_EQ(29u, parameters.size());
    ASSERT_EQ(29u, expected.size());
    for (uint32 id = 0; id < parameters.size(); ++id)
    {
        SCOPED_TRACE(expected[id].title);
        const MyParameter& parameter = *parameters[id];
        const ParameterInfo& info = parameter.getInfo();
        EXPECT_EQ(id, info.id);
        EXPECT_EQ(expected[id].title, narrow(info.title));
        EXPECT_EQ(expected[id].shortTitle, narrow(info.shortTitle));
        EXPECT_EQ(expected[id].units, narrow(info.units));
        EXPECT_EQ(expected[id].stepCount, info.stepCount);
        EXPECT_NEAR(expected[id].defaultNormalized, info.defaultNormalizedValue, 1e-15);
        EXPECT_EQ(expected[id].flags, info.flags);
        EXPECT_EQ(kRootUnitId, info.unitId);
        EXPECT_EQ(expected[id].precision, parameter.getPrecision());
        EXPECT_STREQ(expected[id].typeName, parameter.isA());
        // one reference each, held by the list
        EXPECT_EQ(1, const_cast<MyParameter&>(parameter).getRefCount());

        const bool isList = !expected[id].entries.empty();
        auto* list = dynamic_cast<const MyStringListParameter*>(&parameter);
        ASSERT_EQ(isList, list != nullptr);
        if (list)
        {
            std::vector<std::string> entries;
            for (const std::u16string& entry : list->getEntries())
                entries.push_back(narrow(entry.c_str()));
            EXPECT_EQ(expected[id].entries, entries);
        }
    }
}

TEST(CreateParameters, DefaultsMatchTheTableExceptTheCrossoverFrequency)
{
    const ParameterTable table;
    const ParameterList parameters = createParameters();
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

TEST(CreateParameters, ShortTitlesDifferExceptForSixParameters)
{
    const ParameterList parameters = createParameters();
    std::vector<std::string> same;
    for (const auto& parameter : parameters)
    {
        const ParameterInfo& info = parameter->getInfo();
        if (std::u16string(info.title) == std::u16string(info.shortTitle))
            same.push_back(narrow(info.title));
    }
    EXPECT_EQ((std::vector<std::string>{"ProgSel", "Bypass", "Scope", "Balance", "Solo", "Mono"}), same);
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
