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
    // Two-, three- and four-byte sequences (a surrogate pair); cut to leave
    // room for the terminator, never inside a pair; a byte no sequence
    // starts with, a sequence cut by the end, an overlong form, an encoded
    // surrogate and a code beyond U+10FFFF each become U+FFFD.
    const Case cases[] = {{"Kalvior", 64, u"Kalvior"},
                          {"", 64, u""},
                          {nullptr, 64, u""},
                          {"caf\u00E9", 64, u"caf\u00E9"},
                          {"\u20AC5", 64, u"\u20AC5"},
                          {"\U0001F3B5", 64, u"\U0001F3B5"},
                          {"abc", 3, u"ab"},
                          {"a\U0001F3B5", 3, u"a"},
                          {"a\377b", 64, u"a\uFFFDb"},
                          {"a\303", 64, u"a\uFFFD"},
                          {"\300\257", 64, u"\uFFFD"},
                          {"\355\240\200", 64, u"\uFFFD"},
                          {"\364\220\200\200", 64, u"\uFFFD"}};
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
    } cases[] = {{kGroesse, 63, "Gr\u00F6\u00DFe"},
                 {kGroesse, 6, "Gr\u00F6\u00DF"},
                 {kGroesse, 5, "Gr\u00F6"},
                 {kClef, 63, "a\U0001D11Eb"},
                 {kClef, 4, "a"},
                 {kClef, 0, ""},
                 {kLoneSurrogate, 63, "x\uFFFDy"}};
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
