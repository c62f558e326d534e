// Edge cases of the parameter classes that no parameter of the plug-in
// reaches through a host (texts, conversions, parsing and defaults of every
// parameter are checked through the built bundle), and that each controller
// gets parameter objects of its own.
#include "params/MyStringListParameter.h"
#include "params/ParamId.h"
#include "params/createParameters.h"

#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using TestText::narrow;

namespace {

std::string text(const Parameter& parameter, double normalized)
{
    String128 buffer;
    std::fill(std::begin(buffer), std::end(buffer), u'#'); // catches a missing terminator
    parameter.toString(normalized, buffer);
    return narrow(buffer);
}

IPtr<MyStringListParameter> makeList(std::initializer_list<const char16_t*> entries)
{
    auto list = owned(new MyStringListParameter(u"List", 0, u"", ParameterRecord{}));
    for (const char16_t* entry : entries)
        list->appendString(entry);
    return list;
}

TEST(ParameterTexts, ValuesOutsideTheRangeGiveSafeTexts)
{
    const auto programs = makeList({u"Default", u"Bass Squeeze", u"Stereosonic Shuffle"});
    const auto empty = makeList({});
    const struct
    {
        const char* what;
        IPtr<Parameter> parameter;
        double normalized;
        const char* text;
    } cases[] = {
        {"list above 1", programs, 1.5, "Stereosonic Shuffle"},
        {"list negative", programs, -0.5, ""},
        {"list NaN", programs, std::nan(""), ""},
        {"empty list", empty, 0.5, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, text(*c.parameter, c.normalized)) << c.what;
}

TEST(ParameterClasses, EmptyListsStaySafe)
{
    const auto list = makeList({});
    EXPECT_EQ(-1, list->getInfo().stepCount);
    EXPECT_EQ(0.0, list->toPlain(0.7)); // no entries: nothing to select
    EXPECT_EQ(0.0, list->toNormalized(2));
    ParamValue v = -1;
    EXPECT_FALSE(list->fromString(nullptr, v));
    EXPECT_FALSE(list->fromString(u"", v));
    EXPECT_EQ(-1, v);
}

TEST(ParameterClasses, ListIndicesRoundTripForEveryEntry)
{
    for (int n = 1; n <= 6; ++n)
    {
        auto list = makeList({});
        for (int i = 0; i < n; ++i)
            list->appendString(u"entry");
        EXPECT_EQ(n - 1, list->getInfo().stepCount);
        for (int i = 0; i < n; ++i)
        {
            const double normalized = list->toNormalized(i);
            EXPECT_DOUBLE_EQ(n == 1 ? 0.0 : static_cast<double>(i) / (n - 1), normalized);
            EXPECT_EQ(i, list->toPlain(normalized)) << n << " entries, entry " << i;
        }
    }
}

TEST(ParameterClasses, LongTitlesAreCutTo127Characters)
{
    const std::u16string longText(200, u'x');
    const auto toggle = owned(new MyParameter(longText.c_str(), 5, longText.c_str(), 0, 1, 1));
    toggle->setShortTitle(longText.c_str());
    const ParameterInfo& info = toggle->getInfo();
    EXPECT_EQ(std::u16string(127, u'x'), std::u16string(info.title));
    EXPECT_EQ(std::u16string(127, u'x'), std::u16string(info.units));
    EXPECT_EQ(std::u16string(127, u'x'), std::u16string(info.shortTitle));

    const std::u16string exact(127, u'y');
    toggle->setShortTitle(exact.c_str());
    EXPECT_EQ(exact, std::u16string(info.shortTitle));

    // a cut inside a surrogate pair drops the lone high half
    std::u16string pairAtEnd(126, u'z');
    pairAtEnd += u"\U0001D11E"; // two UTF-16 units at 126 and 127
    toggle->setShortTitle(pairAtEnd.c_str());
    EXPECT_EQ(std::u16string(126, u'z'), std::u16string(info.shortTitle));

    toggle->setShortTitle(nullptr);
    EXPECT_EQ(u"", std::u16string(info.shortTitle));
}

TEST(ParameterClasses, ListEntriesAreOwnedCopies)
{
    auto list = makeList({});
    {
        std::u16string entry = u"First";
        list->appendString(entry);
        entry = u"Changed";
    }
    EXPECT_EQ("First", text(*list, 0.0));
    ASSERT_EQ(1u, list->getEntries().size());

    // an entry longer than a String128 is shown cut, and still matches whole
    const std::u16string longEntry(300, u'e');
    list->appendString(longEntry);
    EXPECT_EQ(std::string(127, 'e'), text(*list, 1.0));
    ParamValue v = -1;
    EXPECT_TRUE(list->fromString(longEntry.c_str(), v));
    EXPECT_EQ(1.0, v);
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
