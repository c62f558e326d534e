// Texts handed to VST 2 hosts: UTF-8 that fits the host's buffer, cut only
// between characters.

#include "sdk/Utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Steinberg::char16;

// "Größe" plus a character outside the basic plane (U+1D11E, a surrogate pair).
const char16 kGroesse[] = {u'G', u'r', 0x00F6, 0x00DF, u'e', 0};
const char16 kClef[] = {u'a', 0xD834, 0xDD1E, u'b', 0};
const char16 kLoneSurrogate[] = {u'x', 0xD800, u'y', 0};

std::string copied(const char16* text, int maxBytes)
{
    char buffer[64];
    const int written = Steinberg::utf16ToUtf8(text, buffer, maxBytes);
    EXPECT_EQ(written, static_cast<int>(std::string(buffer).size()));
    return buffer;
}

} // namespace

TEST(Vst2Text, Utf8LengthCountsTheBytesOfTheConvertedText)
{
    EXPECT_EQ(Steinberg::utf8Length(nullptr), 0);
    EXPECT_EQ(Steinberg::utf8Length(u"Balance"), 7);
    EXPECT_EQ(Steinberg::utf8Length(kGroesse), 7);       // five characters, two of them two bytes long
    EXPECT_EQ(Steinberg::utf8Length(kClef), 6);          // the pair is one four-byte character
    EXPECT_EQ(Steinberg::utf8Length(kLoneSurrogate), 5); // a lone surrogate becomes U+FFFD
    for (const char16* text : {kGroesse, kClef, kLoneSurrogate})
        EXPECT_EQ(Steinberg::utf8Length(text), static_cast<int>(copied(text, 63).size()));
}

TEST(Vst2Text, ATextThatDoesNotFitIsCutBetweenCharacters)
{
    EXPECT_EQ(copied(kGroesse, 7), "Gr\xC3\xB6\xC3\x9F"
                                   "e");
    EXPECT_EQ(copied(kGroesse, 6), "Gr\xC3\xB6\xC3\x9F");
    EXPECT_EQ(copied(kGroesse, 5), "Gr\xC3\xB6"); // not half of the sharp s
    EXPECT_EQ(copied(kClef, 4), "a");             // not part of the pair
    EXPECT_EQ(copied(kClef, 0), "");
}
