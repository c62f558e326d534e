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

// Ties of exactly representable values round to even, as printf does; a
// text of zeros carries no minus sign. The texts the parameters show (4.5,
// -12.0, 283, -22, 0.70) are read through the controller's text tests.
const FormatCase kFormatCases[] = {{0.0, 1, "0.0"},
                                   {22.5, 0, "22"},
                                   {3.75, 1, "3.8"},
                                   {1.005, 2, "1.00"},
                                   {-0.0001, 2, "0.00"},
                                   {-0.0, 1, "0.0"},
                                   {-0.4, 0, "0"},
                                   {-0.5, 0, "0"},
                                   {-0.51, 0, "-1"},
                                   {-0.005, 2, "-0.01"},
                                   {0.5, 4, "0.5000"},
                                   {1234567.0, 0, "1234567"},
                                   {1.0 / 3.0, -1, "0.333333"},
                                   {HUGE_VAL, 1, "inf"},
                                   {-HUGE_VAL, 1, "-inf"}};

// The texts of every locale are the C locale's: the comma locale runs of the
// host-level text tests show it through every parameter.
TEST(NumberTextFormat, WritesPrintfTexts)
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

// The first number of a text, as a user types it: the first comma is the
// decimal point, leading letters are skipped, an exponent without digits and
// a point after the decimal comma end the number, a sign with a space is no
// sign, no hexadecimal; NaN: nothing read, whatever printf writes. Decimal
// commas, leading letters and "-inf" as users type them into a parameter
// are read through the controller's text tests.
const std::pair<const char*, double> kScanCases[] = {{"abc", NAN},
                                                     {"inf", NAN},
                                                     {"nan", NAN},
                                                     {"", NAN},
                                                     {"-", NAN},
                                                     {".", NAN},
                                                     {"-12.0", -12},
                                                     {"+7", 7.0},
                                                     {" -.5e2 dB", -50.0},
                                                     {"5.", 5.0},
                                                     {"1e", 1.0},
                                                     {"2E+3", 2000},
                                                     {"1,2.5", 1.2},
                                                     {"1.2,5", 1.2},
                                                     {"- 5", 5.0},
                                                     {"0x10", 0.0},
                                                     {"1e-400", 0},
                                                     {"-1e999", -HUGE_VAL},
                                                     {"Left 45 Right 30", 45.0}};

TEST(NumberTextScan, ReadsTheFirstNumberLikeScanFloat)
{
    for (const auto& [text, expected] : kScanCases)
        for (bool wide : {false, true})
        {
            double value = -999.0; // left alone by a failed read
            const bool read =
                wide ? NumberText::scanFloat(TestText::widen(text).c_str(), value) : NumberText::scanFloat(text, value);
            EXPECT_EQ(read, !std::isnan(expected)) << text;
            EXPECT_DOUBLE_EQ(value, std::isnan(expected) ? -999.0 : expected) << text;
        }
    double value = 0.0;
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
