#include "params/FaderParameter.h"
#include "params/LogParameter.h"
#include "params/MyStringListParameter.h"
#include "params/ScaledParameter.h"

#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using TestText::narrow;

namespace {

// Reference curves, long double, from the closed forms.
long double faderDb(long double v)
{
    if (v >= 0.5L)
        return (v - 0.5L) * 48.0L - 12.0L;
    return 27.239439698243615L * std::log(v + 0.06748832704674203L) + 3.432098663935946L;
}
long double logHz(long double v)
{
    return 100.0L * std::pow(8.0L, v);
}

std::string text(const Parameter& parameter, double normalized)
{
    String128 buffer;
    std::fill(std::begin(buffer), std::end(buffer), u'#'); // catches a missing terminator
    parameter.toString(normalized, buffer);
    return narrow(buffer);
}

IPtr<FaderParameter> makeFader()
{
    auto fader = owned(new FaderParameter(u"Gain", 3, u"dB"));
    fader->setPrecision(1);
    return fader;
}

IPtr<ScaledParameter> makeScaled(double span, double minimum, double plainDefault, int32 precision)
{
    auto scaled = owned(new ScaledParameter(u"Scaled", 9, u"degs", span, minimum, plainDefault));
    scaled->setPrecision(precision);
    return scaled;
}

IPtr<LogParameter> makeLog()
{
    auto log = owned(new LogParameter(u"Freq", 24, u""));
    log->setPrecision(0);
    return log;
}

IPtr<MyStringListParameter> makeList(std::initializer_list<const char16_t*> entries)
{
    auto list = owned(new MyStringListParameter(u"List", 0, u"", 0));
    for (const char16_t* entry : entries)
        list->appendString(entry);
    return list;
}

IPtr<MyStringListParameter> makePrograms()
{
    return makeList({u"Default", u"Bass Squeeze", u"Top and Bottom Pan", u"Mono Compat Pan", u"Stereo Rotation",
                     u"Stereosonic Shuffle"});
}

struct TextCase
{
    const char* what;
    IPtr<Parameter> parameter;
    double normalized;
    const char* text;
};

// Edge values of the classes; the texts of every parameter at usual values are
// checked through the built bundle. Expected: printf "%.*f" of the closed-form
// plain value, or the list entry trunc(v * n).
TEST(ParameterTexts, EdgeValuesGiveSafeTexts)
{
    const auto fader = makeFader();
    const auto trim = makeScaled(12, -6, 0, 1);
    const auto pan = makeScaled(90, -45, 0, 0);
    const auto plain = owned(new MyParameter(u"Value", 7, u"", 0, 0, 1));
    const auto programs = makePrograms();
    const auto empty = makeList({});
    const TextCase cases[] = {
        {"fader near silence", fader, 1e-9, "-70.0"},
        // a hair below zero rounds to zero: no minus sign on it
        {"fader a hair below 0 dB", fader, 0.75 - 1e-13, "0.0"},
        {"trim a hair below 0", trim, 0.5 - 1e-12, "0.0"},
        {"pan a hair left of centre", pan, 0.5 - 1e-12, "0"},
        {"pan just left of centre", pan, 0.5 - 0.6 / 90, "-1"},
        {"plain value, precision 4", plain, 0.25, "0.2500"},
        {"program above 1", programs, 1.5, "Stereosonic Shuffle"},
        {"program negative", programs, -0.5, ""},
        {"program NaN", programs, std::nan(""), ""},
        {"empty list", empty, 0.5, ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.text, text(*c.parameter, c.normalized)) << c.what;
}

TEST(ParameterTexts, TextOfOddFaderValuesIsTheCurve)
{
    // Every text is the reference curve printed with one decimal.
    const auto fader = makeFader();
    for (double v : {0.001, 0.05, 0.1, 0.3, 0.49, 0.51, 0.6, 0.99})
    {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.1Lf", faderDb(v));
        EXPECT_EQ(expected, text(*fader, v)) << v;
    }
}

struct ConversionCase
{
    const char* what;
    IPtr<Parameter> parameter;
    double plain;
    double normalized;
    double tolerance;
};

TEST(ParameterConversions, ToNormalizedFollowsTheCurvesAndClamps)
{
    const auto fader = makeFader();
    const auto pan = makeScaled(90, -45, 0, 0);
    const auto log = makeLog();
    const ConversionCase cases[] = {
        {"fader 0 dB", fader, 0.0, 0.75, 1e-15},
        {"fader -12 dB", fader, -12.0, 0.5, 1e-15},
        {"fader 20 dB", fader, 20.0, 1.0, 0},
        {"fader -100 dB", fader, -100.0, 0.0, 0},
        {"fader -70 dB", fader, -70.0, 0.0, 1e-12},
        {"fader -27.82 dB", fader, static_cast<double>(faderDb(0.25L)), 0.25, 1e-12},
        {"pan 60", pan, 60.0, 1.0, 0},
        {"pan -60", pan, -60.0, 0.0, 0},
        {"pan 30", pan, 30.0, 75.0 / 90.0, 1e-15},
        {"log 50 Hz", log, 50.0, 0.0, 0},
        {"log 1000 Hz", log, 1000.0, 1.0, 0},
        {"log 300 Hz", log, 300.0, 0.528320833573719, 1e-14},
        {"log 700 Hz", log, 700.0, 0.9357849740192008, 1e-14},
        {"log -5 Hz", log, -5.0, 0.0, 0},
    };
    for (const ConversionCase& c : cases)
        EXPECT_NEAR(c.normalized, c.parameter->toNormalized(c.plain), c.tolerance) << c.what;
}

TEST(ParameterConversions, ToPlainFollowsTheCurves)
{
    const auto fader = makeFader();
    const auto log = makeLog();
    for (long double v : {0.0L, 0.01L, 0.25L, 0.5L, 0.75L, 1.0L})
    {
        EXPECT_NEAR(static_cast<double>(faderDb(v)), fader->toPlain(static_cast<double>(v)), 1e-12) << v;
        EXPECT_NEAR(static_cast<double>(logHz(v)), log->toPlain(static_cast<double>(v)), 1e-10) << v;
    }
    EXPECT_NEAR(-70.0, fader->toPlain(0.0), 1e-12);
}

TEST(ParameterConversions, ListIndicesRoundTripForEveryEntry)
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
    const auto programs = makePrograms();
    EXPECT_DOUBLE_EQ(0.6, programs->toNormalized(3));
}

// The usual typed texts are checked through the built bundle; these are the
// refusals, which must leave the value alone.
TEST(ParameterParsing, NumericTextsReadThePlainValue)
{
    const auto fader = makeFader();
    const auto toggle = owned(new MyParameter(u"Mute", 5, u"", 0, 1, 1));
    ParamValue v = -1;
    EXPECT_FALSE(fader->fromString(u"-inf", v)); // the fader's own text for silence
    EXPECT_FALSE(fader->fromString(u"", v));
    EXPECT_FALSE(toggle->fromString(u"On", v));
    // a number too large for a double is no value for a host
    EXPECT_FALSE(toggle->fromString(u"1e999", v));
    EXPECT_EQ(-1, v);
    ASSERT_TRUE(fader->fromString(u"1e999", v)); // clamped by the curve
    EXPECT_EQ(1.0, v);
}

TEST(ParameterParsing, ListTextsMatchWholeAndCaseSensitive)
{
    const auto programs = makePrograms();
    const auto solo = makeList({u"OFF", u"HIPASS", u"LOPASS"});
    ParamValue v = -1;
    for (const char16_t* wrong : {u"mono compat pan", u"Mono Compat Pan ", u"Mono", u"off", u"", u"2"})
        EXPECT_FALSE(programs->fromString(wrong, v) || solo->fromString(wrong, v)) << narrow(wrong);
    EXPECT_FALSE(programs->fromString(nullptr, v));
    EXPECT_EQ(-1, v);
    ASSERT_TRUE(solo->fromString(u"LOPASS", v));
    EXPECT_EQ(1.0, v);
}

TEST(ParameterClasses, DefaultsOutsideTheRangeAndEmptyListsStaySafe)
{
    EXPECT_EQ(1.0, makeScaled(90, -45, 100, 0)->getInfo().defaultNormalizedValue);
    const auto list = owned(new MyStringListParameter(u"Solo", 27, u"", 0));
    EXPECT_EQ(-1, list->getInfo().stepCount);
    EXPECT_EQ(0.0, list->toPlain(0.7)); // no entries: nothing to select
    EXPECT_EQ(0.0, list->toNormalized(2));
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
    EXPECT_EQ(0, list->getInfo().stepCount);

    // an entry longer than a String128 is shown cut, and still matches whole
    const std::u16string longEntry(300, u'e');
    list->appendString(longEntry);
    EXPECT_EQ(std::string(127, 'e'), text(*list, 1.0));
    ParamValue v = -1;
    EXPECT_TRUE(list->fromString(longEntry.c_str(), v));
    EXPECT_EQ(1.0, v);
}

} // namespace
