#include "sdk/Utf16.h"

#include <cstdint>

namespace Steinberg {

namespace {

constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Decodes one UTF-8 sequence at `s`; returns its length in bytes (at least 1).
int decodeUtf8(const unsigned char* s, uint32_t& codePoint)
{
    const unsigned char lead = s[0];
    int length;
    uint32_t minimum;
    if (lead < 0x80)
    {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0)
    {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    }
    else
    {
        codePoint = kReplacementCharacter;
        return 1;
    }
    for (int i = 1; i < length; ++i)
    {
        if ((s[i] & 0xC0) != 0x80) // also stops at the terminator
        {
            codePoint = kReplacementCharacter;
            return i;
        }
        codePoint = (codePoint << 6) | (s[i] & 0x3F);
    }
    // overlong forms, surrogates and values beyond Unicode are not characters
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacementCharacter;
    return length;
}

} // namespace

void utf8ToUtf16(const char8* source, char16* destination, int32 capacity)
{
    if (!destination || capacity <= 0)
        return;
    int32 out = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(source ? source : "");
    while (*s)
    {
        uint32_t codePoint = 0;
        s += decodeUtf8(s, codePoint);
        if (codePoint >= 0x10000)
        {
            if (out + 2 >= capacity)
                break; // never split a surrogate pair
            codePoint -= 0x10000;
            destination[out++] = static_cast<char16>(0xD800 + (codePoint >> 10));
            destination[out++] = static_cast<char16>(0xDC00 + (codePoint & 0x3FF));
        }
        else
        {
            if (out + 1 >= capacity)
                break;
            destination[out++] = static_cast<char16>(codePoint);
        }
    }
    destination[out] = 0;
}

} // namespace Steinberg
