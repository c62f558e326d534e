// The one UTF codec: UTF-8 to UTF-16 for the factory's unicode class infos,
// UTF-16 to UTF-8 for the texts handed to VST 2 hosts; cut to the buffer
// only between characters, malformed input replaced.

#include "sdk/Utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Steinberg::char16;

std::u16string convert(const char* utf8, int capacity = 64)
{
    char16 out[64];
    for (auto& unit : out)
        unit = 0x7777; // shows any unit written past the terminator
    Steinberg::utf8ToUtf16(utf8, out, capacity);
    return std::u16string(reinterpret_cast<const char16_t*>(out));
}

struct Case
{
    const char* utf8;
    int capacity;
    std::u16string expected;
};

TEST(Utf8ToUtf16, ConvertsCutsAndReplaces)
{
    const Case cases[] = {
        {"Kalvior", 64, u"Kalvior"},
        {"", 64, u""},
        {nullptr, 64, u""},
        {"caf\xC3\xA9", 64, u"caf\u00E9"}, // two-byte sequence
        {"\xE2\x82\xAC"
         "5",
         64,
         u"\u20AC"
         "5"},                                   // three-byte sequence
        {"\xF0\x9F\x8E\xB5", 64, u"\U0001F3B5"}, // four bytes: a surrogate pair
        {"abc", 3, u"ab"},                       // cut to leave room for the terminator
        {"a\xF0\x9F\x8E\xB5", 3, u"a"},          // a pair is never split
        {"a\xFF"
         "b",
         64,
         u"a\uFFFD"
         "b"},                               // a byte no sequence starts with
        {"a\xC3", 64, u"a\uFFFD"},           // sequence cut by the end
        {"\xC0\xAF", 64, u"\uFFFD"},         // overlong form
        {"\xED\xA0\x80", 64, u"\uFFFD"},     // encoded surrogate
        {"\xF4\x90\x80\x80", 64, u"\uFFFD"}, // beyond U+10FFFF
    };
    for (const Case& c : cases)
        EXPECT_EQ(convert(c.utf8, c.capacity), c.expected) << (c.utf8 ? c.utf8 : "(null)");
    char16 unit = 0x7777;
    Steinberg::utf8ToUtf16("abc", &unit, 0);
    EXPECT_EQ(unit, 0x7777) << "no room: nothing written";
}

// "Größe", a character outside the basic plane (U+1D11E, a surrogate pair),
// and a lone surrogate, which becomes U+FFFD.
const char16 kGroesse[] = {u'G', u'r', 0x00F6, 0x00DF, u'e', 0};
const char16 kClef[] = {u'a', 0xD834, 0xDD1E, u'b', 0};
const char16 kLoneSurrogate[] = {u'x', 0xD800, u'y', 0};

TEST(Utf16ToUtf8, LengthAndCutsBetweenCharacters)
{
    const struct
    {
        const char16* text;
        int maxBytes;
        const char* expected;
    } cases[] = {
        {kGroesse, 63,
         "Gr\xC3\xB6\xC3\x9F"
         "e"},
        {kGroesse, 6, "Gr\xC3\xB6\xC3\x9F"},
        {kGroesse, 5, "Gr\xC3\xB6"}, // not half of the sharp s
        {kClef, 63,
         "a\xF0\x9D\x84\x9E"
         "b"},
        {kClef, 4, "a"}, // not part of the pair
        {kClef, 0, ""},
        {kLoneSurrogate, 63, "x\xEF\xBF\xBDy"},
    };
    for (const auto& c : cases)
    {
        char buffer[64];
        const int written = Steinberg::utf16ToUtf8(c.text, buffer, c.maxBytes);
        EXPECT_EQ(std::string(buffer), c.expected) << c.maxBytes;
        EXPECT_EQ(written, static_cast<int>(std::string(buffer).size()));
        if (c.maxBytes == 63)
        {
            EXPECT_EQ(Steinberg::utf8Length(c.text), written);
        }
    }
    EXPECT_EQ(Steinberg::utf8Length(nullptr), 0);
}

} // namespace
