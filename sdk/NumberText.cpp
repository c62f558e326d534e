#include "sdk/NumberText.h"

#include <charconv>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace Steinberg {
namespace NumberText {

namespace {

// Any double's exact decimal expansion ends within 1074 fractional digits;
// beyond that "%.*f" only adds zeros.
constexpr int32 kMaxExactDecimals = 1100;
// Sign, 309 integer digits of DBL_MAX, the point, the decimals.
constexpr int32 kFormatBufferSize = 1 + 309 + 1 + kMaxExactDecimals + 8;

// Formats into 8-bit text; put(index, character) stores one character.
template <typename Put>
int32 formatFixed(double value, int32 precision, int32 capacity, Put put)
{
    if (precision < 0)
        precision = 6; // as printf does for a negative precision
    const int32 exactDecimals = precision < kMaxExactDecimals ? precision : kMaxExactDecimals;

    char buffer[kFormatBufferSize];
    const auto result =
        std::to_chars(buffer, buffer + kFormatBufferSize, value, std::chars_format::fixed, exactDecimals);
    const int32 length = result.ec == std::errc() ? static_cast<int32>(result.ptr - buffer) : 0;

    // A value a hair below zero rounds to a text of zeros; "-0.0" would show
    // users a negative zero, so such a text carries no sign.
    int32 first = 0;
    if (length > 0 && buffer[0] == '-')
    {
        bool allZeros = true;
        for (int32 i = 1; i < length && allZeros; ++i)
            allZeros = buffer[i] == '0' || buffer[i] == '.';
        if (allZeros)
            first = 1;
    }

    int32 written = 0;
    for (int32 i = first; i < length && written < capacity; ++i)
        put(written++, buffer[i]);
    for (int32 i = exactDecimals; i < precision && written < capacity; ++i)
        put(written++, '0');
    return written;
}

template <typename Char>
int32 printFloatTo(double value, int32 precision, Char* text, int32 textSize)
{
    if (!text || textSize <= 0)
        return 0;
    const int32 written =
        formatFixed(value, precision, textSize - 1, [text](int32 i, char c) { text[i] = static_cast<Char>(c); });
    text[written] = 0;
    return written;
}

template <typename Char>
bool isDigit(Char c)
{
    return c >= Char('0') && c <= Char('9');
}

// The C locale, created once: strtod_l reads '.' as the decimal point whatever
// the process locale is. The Windows C runtime spells both with an underscore.
#if defined(_WIN32)
using CLocale = _locale_t;
CLocale cLocale()
{
    static const CLocale locale = _create_locale(LC_ALL, "C");
    return locale;
}
double strtodInLocale(const char* number, CLocale locale)
{
    return _strtod_l(number, nullptr, locale);
}
#else
using CLocale = locale_t;
CLocale cLocale()
{
    static const CLocale locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}
double strtodInLocale(const char* number, CLocale locale)
{
    return strtod_l(number, nullptr, locale);
}
#endif

double convertAscii(const char* number)
{
    if (const CLocale c = cLocale())
        return strtodInLocale(number, c);
    // no C locale object (out of memory): the pattern is already checked, so
    // from_chars (locale-free, no leading '+') can read it
    double value = 0.0;
    const char* begin = number[0] == '+' ? number + 1 : number;
    const char* end = begin;
    while (*end)
        ++end;
    std::from_chars(begin, end, value);
    return value;
}

// Matches a decimal number that starts exactly at text[start]:
// [sign] digits [point [digits]] | [sign] point digits, then an optional
// complete exponent. On a match it copies the number into ascii, spelled so
// that any C-locale converter reads it ("0.5" for ".5", '.' for the comma),
// and returns true.
template <typename Char>
bool matchNumberAt(const Char* text, size_t start, size_t decimalComma, std::string& ascii)
{
    size_t i = start;
    ascii.clear();
    if (text[i] == Char('+') || text[i] == Char('-'))
        ascii.push_back(static_cast<char>(text[i++]));

    size_t integerDigits = 0;
    while (isDigit(text[i]))
    {
        ascii.push_back(static_cast<char>(text[i++]));
        ++integerDigits;
    }
    size_t fractionDigits = 0;
    if (text[i] == Char('.') || i == decimalComma)
    {
        ++i;
        if (integerDigits == 0)
            ascii.push_back('0'); // "0.5", never ".5", for every converter
        ascii.push_back('.');
        while (isDigit(text[i]))
        {
            ascii.push_back(static_cast<char>(text[i++]));
            ++fractionDigits;
        }
        if (fractionDigits == 0)
            ascii.push_back('0');
    }
    if (integerDigits + fractionDigits == 0)
        return false;

    if (text[i] == Char('e') || text[i] == Char('E'))
    {
        size_t j = i + 1;
        if (text[j] == Char('+') || text[j] == Char('-'))
            ++j;
        if (isDigit(text[j]))
        {
            ascii.push_back('e');
            for (size_t k = i + 1; k < j; ++k)
                ascii.push_back(static_cast<char>(text[k]));
            while (isDigit(text[j]))
                ascii.push_back(static_cast<char>(text[j++]));
        }
    }
    return true;
}

template <typename Char>
bool scanFloatFrom(const Char* text, double& value)
{
    if (!text)
        return false;
    constexpr size_t kNoComma = static_cast<size_t>(-1);
    size_t decimalComma = kNoComma;
    for (size_t i = 0; text[i]; ++i)
    {
        if (text[i] == Char(','))
        {
            decimalComma = i;
            break;
        }
    }

    std::string ascii;
    for (size_t start = 0; text[start]; ++start)
    {
        if (matchNumberAt(text, start, decimalComma, ascii))
        {
            value = convertAscii(ascii.c_str());
            return true;
        }
    }
    return false;
}

} // namespace

int32 printFloat(double value, int32 precision, char8* text, int32 textSize)
{
    return printFloatTo(value, precision, text, textSize);
}

int32 printFloat(double value, int32 precision, char16* text, int32 textSize)
{
    return printFloatTo(value, precision, text, textSize);
}

bool scanFloat(const char8* text, double& value)
{
    return scanFloatFrom(text, value);
}

bool scanFloat(const char16* text, double& value)
{
    return scanFloatFrom(text, value);
}

} // namespace NumberText
} // namespace Steinberg
