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

// Expected texts: printf "%.*f" of the closed-form plain value (see the
// reference curves above), or the list entry trunc(v * n).
std::vector<TextCase> textCases()
{
    const auto fader = makeFader();
    const auto pan = makeScaled(90, -45, 0, 0);
    const auto width = makeScaled(2, 0, 1, 2);
    const auto law = makeScaled(3, 3, 4.5, 1);
    const auto log = makeLog();
    const auto toggle = owned(new MyParameter(u"Mute", 5, u"", 0, 1, 1));
    const auto plain = owned(new MyParameter(u"Value", 7, u"", 0, 0, 1));
    const auto programs = makePrograms();
    const auto crossover = makeList({u"OFF", u"LR-2", u"LR-4"});
    const auto format = makeList({u"L/R", u"M/S"});
    const auto empty = makeList({});
    return {
        {"fader silence", fader, 0.0, "-inf"},
        {"fader 0 dB", fader, 0.75, "0.0"},
        {"fader knee", fader, 0.5, "-12.0"},
        {"fader top", fader, 1.0, "12.0"},
        {"fader lower curve", fader, 0.25, "-27.8"},
        {"fader near silence", fader, 1e-9, "-70.0"},
        {"fader upper line", fader, 0.9, "7.2"},
        {"pan left", pan, 0.0, "-45"},
        {"pan right", pan, 1.0, "45"},
        {"pan centre", pan, 0.5, "0"},
        {"pan tie rounds to even", pan, 0.25, "-22"},
        {"width", width, 0.5, "1.00"},
        {"width 0.35", width, 0.35, "0.70"},
        {"pan law", law, 0.5, "4.5"},
        {"pan law tie", law, 0.25, "3.8"},
        {"log bottom", log, 0.0, "100"},
        {"log top", log, 1.0, "800"},
        {"log middle", log, 0.5, "283"},
        {"log table default", log, 0.528320833573719, "300"},
        {"log 0.2", log, 0.2, "152"},
        {"switch at half", toggle, 0.5, "Off"},
        {"switch above half", toggle, 0.500001, "On"},
        {"switch off", toggle, 0.0, "Off"},
        {"switch on", toggle, 1.0, "On"},
        {"plain value, precision 4", plain, 0.25, "0.2500"},
        {"program 0", programs, 0.0, "Default"},
        {"program 0.2", programs, 0.2, "Bass Squeeze"},
        {"program 0.6", programs, 0.6, "Mono Compat Pan"},
        {"program 0.99", programs, 0.99, "Stereosonic Shuffle"},
        {"program 1", programs, 1.0, "Stereosonic Shuffle"},
        {"program above 1", programs, 1.5, "Stereosonic Shuffle"},
        {"program negative", programs, -0.5, ""},
        {"program NaN", programs, std::nan(""), ""},
        {"crossover 0.33", crossover, 0.33, "OFF"},
        {"crossover 0.34", crossover, 0.34, "LR-2"},
        {"crossover 0.5", crossover, 0.5, "LR-2"},
        {"crossover 0.67", crossover, 0.67, "LR-4"},
        {"format 0.5", format, 0.5, "M/S"},
        {"format 0.49", format, 0.49, "L/R"},
        {"empty list", empty, 0.5, ""},
    };
}

class ParameterTexts : public testing::TestWithParam<const char*>
{
};

TEST_P(ParameterTexts, MatchTheClosedFormsInEveryLocale)
{
    TestText::ScopedLocale locale(GetParam());
    if (!locale.isAvailable())
        GTEST_SKIP() << "locale " << GetParam() << " is not installed";
    for (const TextCase& c : textCases())
        EXPECT_EQ(c.text, text(*c.parameter, c.normalized)) << c.what;
}

TEST_P(ParameterTexts, ParseCommaAndLeadingLettersInEveryLocale)
{
    TestText::ScopedLocale locale(GetParam());
    if (!locale.isAvailable())
        GTEST_SKIP() << "locale " << GetParam() << " is not installed";

    const auto law = makeScaled(3, 3, 4.5, 1);
    const auto pan = makeScaled(90, -45, 0, 0);
    ParamValue v = -1;
    ASSERT_TRUE(law->fromString(u"4,5", v));
    EXPECT_DOUBLE_EQ(0.5, v);
    ASSERT_TRUE(pan->fromString(u"L 30", v));
    EXPECT_DOUBLE_EQ(75.0 / 90.0, v);
    v = -1;
    EXPECT_FALSE(pan->fromString(u"left", v));
    EXPECT_EQ(-1, v);
}

INSTANTIATE_TEST_SUITE_P(Locales, ParameterTexts, testing::Values("C", "de_DE.UTF-8"));

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

    // scaled values are not clamped on the way out
    const auto pan = makeScaled(90, -45, 0, 0);
    EXPECT_DOUBLE_EQ(90.0, pan->toPlain(1.5));

    const auto toggle = owned(new MyParameter(u"Mute", 5, u"", 0, 1, 1));
    EXPECT_EQ(0.3, toggle->toPlain(0.3));
    EXPECT_EQ(0.3, toggle->toNormalized(0.3));
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

TEST(ParameterParsing, NumericTextsReadThePlainValue)
{
    const auto fader = makeFader();
    const auto log = makeLog();
    const auto toggle = owned(new MyParameter(u"Mute", 5, u"", 0, 1, 1));
    ParamValue v = -1;

    ASSERT_TRUE(fader->fromString(u"-12.0", v));
    EXPECT_DOUBLE_EQ(0.5, v);
    ASSERT_TRUE(fader->fromString(u"0 dB", v));
    EXPECT_DOUBLE_EQ(0.75, v);
    ASSERT_TRUE(log->fromString(u"300 Hz", v));
    EXPECT_NEAR(0.528320833573719, v, 1e-14);
    ASSERT_TRUE(toggle->fromString(u"1", v));
    EXPECT_EQ(1.0, v);

    v = -1;
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
    ASSERT_TRUE(programs->fromString(u"Mono Compat Pan", v));
    EXPECT_DOUBLE_EQ(0.6, v);
    ASSERT_TRUE(solo->fromString(u"LOPASS", v));
    EXPECT_EQ(1.0, v);
    ASSERT_TRUE(solo->fromString(u"OFF", v));
    EXPECT_EQ(0.0, v);

    v = -1;
    for (const char16_t* wrong : {u"mono compat pan", u"Mono Compat Pan ", u"Mono", u"off", u"", u"2"})
        EXPECT_FALSE(programs->fromString(wrong, v) || solo->fromString(wrong, v)) << narrow(wrong);
    EXPECT_FALSE(programs->fromString(nullptr, v));
    EXPECT_EQ(-1, v);
}

TEST(ParameterClasses, ConstructorsSetInfoDefaultsAndPrecision)
{
    const auto fader = owned(new FaderParameter(u"Left Gain", 3, u"dB"));
    EXPECT_EQ(0.75, fader->getInfo().defaultNormalizedValue);
    EXPECT_EQ(0.75, fader->getNormalized());
    EXPECT_EQ(ParameterInfo::kCanAutomate, fader->getInfo().flags);
    EXPECT_EQ(0, fader->getInfo().stepCount);
    EXPECT_EQ(4, fader->getPrecision());
    EXPECT_EQ(kRootUnitId, fader->getInfo().unitId);
    EXPECT_EQ("Left Gain", narrow(fader->getInfo().title));
    EXPECT_EQ("dB", narrow(fader->getInfo().units));
    EXPECT_EQ("", narrow(fader->getInfo().shortTitle));

    const auto log = owned(new LogParameter(u"Crossover Freq", 24, u""));
    EXPECT_EQ(0.0, log->getInfo().defaultNormalizedValue);
    EXPECT_EQ(0.0, log->getNormalized());
    EXPECT_EQ(100.0, log->minimum);
    EXPECT_EQ(800.0, log->maximum);
    EXPECT_NEAR(std::log(800.0) / std::log(100.0), log->logRatio, 1e-15);
    EXPECT_NEAR(std::log(100.0), log->lnMinimum, 1e-15);

    const auto pan = makeScaled(90, -45, 45, 0);
    EXPECT_EQ(1.0, pan->getInfo().defaultNormalizedValue);
    EXPECT_EQ(1.0, pan->getNormalized());
    EXPECT_EQ(ParameterInfo::kCanAutomate, pan->getInfo().flags);
    const auto outOfRange = makeScaled(90, -45, 100, 0);
    EXPECT_EQ(1.0, outOfRange->getInfo().defaultNormalizedValue);

    const auto scope = owned(new MyParameter(u"Scope", 2, u"", 1.0, 1, 0));
    EXPECT_EQ(1.0, scope->getNormalized());
    EXPECT_EQ(0, scope->getInfo().flags);
    EXPECT_EQ(4, scope->getPrecision());

    const auto list = owned(new MyStringListParameter(u"Solo", 27, u"", 0));
    EXPECT_EQ(-1, list->getInfo().stepCount);
    EXPECT_EQ(0.0, list->getNormalized());
    EXPECT_EQ(0.0, list->toPlain(0.7)); // no entries: nothing to select
    EXPECT_EQ(0.0, list->toNormalized(2));
}

TEST(ParameterClasses, FaderFieldsSolveTheCurveConditions)
{
    // The lower curve meets the upper line at 0.5 with equal value and slope,
    // and gives -70 dB at 0.
    const auto fader = makeFader();
    const double a = fader->curveScale, b = fader->curveOffset, c = fader->curveBias;
    EXPECT_NEAR(fader->kneeDb, a * std::log(fader->knee + b) + c, 1e-12);
    EXPECT_NEAR(fader->upperSlope, a / (fader->knee + b), 1e-12);
    EXPECT_NEAR(-70.0, a * std::log(b) + c, 1e-12);
    EXPECT_EQ(48.0, fader->upperSlope);
    EXPECT_EQ(0.5, fader->knee);
    EXPECT_EQ(-12.0, fader->kneeDb);
}

TEST(ParameterClasses, RunTimeTypeNames)
{
    const auto fader = makeFader();
    const auto pan = makeScaled(90, -45, 0, 0);
    const auto log = makeLog();
    const auto programs = makePrograms();
    const auto toggle = owned(new MyParameter(u"Mute", 5, u"", 0, 1, 1));

    EXPECT_STREQ("FaderParameter", fader->isA());
    EXPECT_STREQ("ScaledParameter", pan->isA());
    EXPECT_STREQ("LogParameter", log->isA());
    EXPECT_STREQ("MyParameter", toggle->isA());
    EXPECT_STREQ("MyParameter", programs->isA()); // the list declares no name of its own

    for (const char* name : {"ScaledParameter", "MyParameter", "Parameter", "FObject"})
        EXPECT_TRUE(pan->isTypeOf(name, true)) << name;
    EXPECT_TRUE(pan->isTypeOf("ScaledParameter", false));
    EXPECT_FALSE(pan->isTypeOf("MyParameter", false));
    EXPECT_TRUE(pan->isA("ScaledParameter"));
    EXPECT_FALSE(pan->isA("Parameter"));
    EXPECT_FALSE(pan->isTypeOf("FaderParameter", true));
    EXPECT_FALSE(pan->isTypeOf("RangeParameter", true));
    EXPECT_TRUE(programs->isTypeOf("MyParameter", false));
    EXPECT_FALSE(programs->isTypeOf("MyStringListParameter", true));
    EXPECT_FALSE(programs->isTypeOf("StringListParameter", true));
    EXPECT_TRUE(FCast<MyParameter>(static_cast<FObject*>(fader.get())) != nullptr);
    EXPECT_TRUE(FCast<ScaledParameter>(static_cast<FObject*>(fader.get())) == nullptr);
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
