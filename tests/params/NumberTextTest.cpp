#include "sdk/NumberText.h"

#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Steinberg;

namespace {

struct FormatCase
{
    double value;
    int32 precision;
    const char* text; // what C-locale printf "%.*f" gives, but never "-0"
};

// Ties of exactly representable values round to even, as printf does.
const FormatCase kFormatCases[] = {
    {4.5, 1, "4.5"},
    {-12.0, 1, "-12.0"},
    {0.0, 1, "0.0"},
    {282.842712474619, 0, "283"},
    {-22.5, 0, "-22"},
    {22.5, 0, "22"},
    {3.75, 1, "3.8"},
    {0.7, 2, "0.70"},
    {1.005, 2, "1.00"},
    {-0.0001, 2, "0.00"}, // a text of zeros carries no minus sign
    {-0.0, 1, "0.0"},
    {-0.4, 0, "0"},
    {-0.5, 0, "0"},
    {-0.51, 0, "-1"},
    {-0.005, 2, "-0.01"},
    {0.5, 4, "0.5000"},
    {1234567.0, 0, "1234567"},
    {1.0 / 3.0, -1, "0.333333"},
    {std::numeric_limits<double>::infinity(), 1, "inf"},
    {-std::numeric_limits<double>::infinity(), 1, "-inf"},
};

// Runs in the locale named by the parameter, skipped where it is not installed.
class NumberTextFormat : public testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        if (!locale.isAvailable())
            GTEST_SKIP() << "locale " << GetParam() << " is not installed";
    }

    TestText::ScopedLocale locale{GetParam()};
};

TEST_P(NumberTextFormat, WritesPrintfTextsInEveryLocale)
{
    for (const FormatCase& c : kFormatCases)
    {
        char narrowText[128];
        char16 wideText[128];
        const int32 narrowLength = NumberText::printFloat(c.value, c.precision, narrowText, 128);
        const int32 wideLength = NumberText::printFloat(c.value, c.precision, wideText, 128);
        EXPECT_STREQ(c.text, narrowText) << c.value;
        EXPECT_EQ(c.text, TestText::narrow(wideText)) << c.value;
        EXPECT_EQ(static_cast<int32>(std::string(c.text).size()), narrowLength);
        EXPECT_EQ(narrowLength, wideLength);
    }
}

TEST_P(NumberTextFormat, ReadsPointAndFirstCommaInEveryLocale)
{
    double value = 0.0;
    ASSERT_TRUE(NumberText::scanFloat("4,5", value));
    EXPECT_EQ(4.5, value);
    ASSERT_TRUE(NumberText::scanFloat(u"4.5", value));
    EXPECT_EQ(4.5, value);
}

INSTANTIATE_TEST_SUITE_P(Locales, NumberTextFormat, testing::Values("C", "de_DE.UTF-8"));

TEST(NumberTextFormat, CommaLocaleReallyUsesAComma)
{
    // Guards the locale runs above against a system whose German locale is a stub.
    TestText::ScopedLocale locale("de_DE.UTF-8");
    if (!locale.isAvailable())
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    EXPECT_EQ(",", TestText::ScopedLocale::decimalPoint());
}

TEST(NumberTextFormat, CutsToTheBufferAndAlwaysTerminates)
{
    char text[6] = "xxxxx";
    EXPECT_EQ(5, NumberText::printFloat(-12.25, 2, text, 6)); // "-12.25" needs 7
    EXPECT_STREQ("-12.2", text);

    char16 wide[4];
    EXPECT_EQ(3, NumberText::printFloat(1000.0, 0, wide, 4));
    EXPECT_EQ("100", TestText::narrow(wide));

    char one[1] = {'x'};
    EXPECT_EQ(0, NumberText::printFloat(1.0, 0, one, 1));
    EXPECT_EQ('\0', one[0]);
    EXPECT_EQ(0, NumberText::printFloat(1.0, 0, static_cast<char*>(nullptr), 10));

    // 1e300 has 301 integer digits: the text keeps the first 127
    char big[128];
    EXPECT_EQ(127, NumberText::printFloat(1e300, 2, big, 128));
    EXPECT_EQ('1', big[0]);
    EXPECT_EQ('\0', big[127]);
}

TEST(NumberTextFormat, PrecisionBeyondTheExactDigitsAddsZeros)
{
    // 0.5 is exact in binary: every further decimal is 0
    char text[128];
    EXPECT_EQ(127, NumberText::printFloat(0.5, 2000, text, 128));
    EXPECT_EQ("0.5" + std::string(124, '0'), text);
}

struct ScanCase
{
    const char* text;
    bool read;
    double value; // when read
};

const ScanCase kScanCases[] = {
    {"4,5", true, 4.5},   // the first comma is the decimal point
    {"L 30", true, 30.0}, // leading letters are skipped
    {"abc", false, 0},    // letters only
    {"-inf", false, 0},   // no number, whatever printf writes
    {"inf", false, 0},
    {"nan", false, 0},
    {"", false, 0},
    {"-", false, 0},
    {".", false, 0},
    {"-12.0", true, -12.0},
    {"+7", true, 7.0},
    {" -.5e2 dB", true, -50.0},
    {"5.", true, 5.0},
    {"1e", true, 1.0}, // an exponent without digits is not part of the number
    {"2E+3", true, 2000.0},
    {"1,2.5", true, 1.2}, // the point after the decimal comma ends the number
    {"1.2,5", true, 1.2},
    {"12,5 dB", true, 12.5},
    {"- 5", true, 5.0}, // a sign with a space is not a number, 5 is
    {"Left 45 Right 30", true, 45.0},
    {"0x10", true, 0.0},   // no hexadecimal: 0, then 'x' ends it
    {"1e-400", true, 0.0}, // below the smallest double
};

TEST(NumberTextScan, ReadsTheFirstNumberLikeScanFloat)
{
    for (const ScanCase& c : kScanCases)
    {
        double narrowValue = -999.0;
        double wideValue = -999.0;
        EXPECT_EQ(c.read, NumberText::scanFloat(c.text, narrowValue)) << c.text;
        EXPECT_EQ(c.read, NumberText::scanFloat(TestText::widen(c.text).c_str(), wideValue)) << c.text;
        if (c.read)
        {
            EXPECT_DOUBLE_EQ(c.value, narrowValue) << c.text;
            EXPECT_DOUBLE_EQ(c.value, wideValue) << c.text;
        }
        else
        {
            EXPECT_EQ(-999.0, narrowValue) << "value changed by a failed read of " << c.text;
            EXPECT_EQ(-999.0, wideValue) << "value changed by a failed read of " << c.text;
        }
    }
}

TEST(NumberTextScan, OverflowReadsAsInfinityAndNullFails)
{
    double value = 0.0;
    ASSERT_TRUE(NumberText::scanFloat("-1e999", value));
    EXPECT_TRUE(std::isinf(value) && value < 0);
    EXPECT_FALSE(NumberText::scanFloat(static_cast<const char*>(nullptr), value));
    EXPECT_FALSE(NumberText::scanFloat(static_cast<const char16*>(nullptr), value));
}

TEST(NumberTextScan, NonAsciiCharactersAreSkipped)
{
    // "–3,5 °" with an en dash (U+2013), which is not a minus sign
    const char16 text[] = {0x2013, u'3', u',', u'5', u' ', 0x00B0, 0};
    double value = 0.0;
    ASSERT_TRUE(NumberText::scanFloat(text, value));
    EXPECT_EQ(3.5, value);
}

} // namespace
