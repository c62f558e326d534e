// UTF-8 to UTF-16, as the factory's unicode class infos use it.

#include "sdk/Utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string convert(const char* utf8, int capacity = 64)
{
    Steinberg::char16 out[64];
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

} // namespace

TEST(Utf8ToUtf16, ConvertsCutsAndReplaces)
{
    const Case cases[] = {
        {"Kalvior", 64, u"Kalvior"},
        {"", 64, u""},
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
        EXPECT_EQ(convert(c.utf8, c.capacity), c.expected) << c.utf8;
}

TEST(Utf8ToUtf16, NullSourceGivesEmptyText)
{
    EXPECT_EQ(convert(nullptr), u"");
}

TEST(Utf8ToUtf16, NoRoomWritesNothing)
{
    Steinberg::char16 unit = 0x7777;
    Steinberg::utf8ToUtf16("abc", &unit, 0);
    EXPECT_EQ(unit, 0x7777);
}
