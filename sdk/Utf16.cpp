#include "sdk/Utf16.h"

#include <cstdint>
#include <string>

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

// Writes codePoint as UTF-8 into out (room for 4); returns the byte count.
int encodeUtf8(uint32_t codePoint, char* out)
{
    if (codePoint < 0x80)
    {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800)
    {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000)
    {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 4;
}

// The code point that starts at source[i], advancing i past a surrogate pair;
// a lone surrogate is U+FFFD.
uint32_t decodeUtf16(const char16* source, int32& i)
{
    uint32_t codePoint = static_cast<uint16_t>(source[i]);
    const uint32_t next = static_cast<uint16_t>(source[i + 1]);
    if (codePoint >= 0xD800 && codePoint < 0xDC00 && next >= 0xDC00 && next < 0xE000)
    {
        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (next - 0xDC00);
        ++i;
    }
    else if (codePoint >= 0xD800 && codePoint < 0xE000)
    {
        codePoint = kReplacementCharacter;
    }
    return codePoint;
}

// Bytes of the UTF-8 sequence that starts with lead; 1 for a stray byte, so
// that a malformed text still advances.
int32 sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
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

int32 utf16ToUtf8(const char16* source, char8* destination, int32 maxBytes)
{
    if (!destination)
        return 0;
    int32 written = 0;
    for (int32 i = 0; source && maxBytes > 0 && source[i] != 0; ++i)
    {
        char encoded[4];
        const int32 n = encodeUtf8(decodeUtf16(source, i), encoded);
        if (written + n > maxBytes)
            break;
        for (int32 k = 0; k < n; ++k)
            destination[written++] = encoded[k];
    }
    destination[written] = 0;
    return written;
}

std::string utf16ToUtf8(const char16* source)
{
    std::string text;
    char encoded[4];
    for (int32 i = 0; source && source[i] != 0; ++i)
        text.append(encoded, static_cast<size_t>(encodeUtf8(decodeUtf16(source, i), encoded)));
    return text;
}

int32 utf8Length(const char16* source)
{
    int32 bytes = 0;
    char encoded[4];
    for (int32 i = 0; source && source[i] != 0; ++i)
        bytes += encodeUtf8(decodeUtf16(source, i), encoded);
    return bytes;
}

int32 copyUtf8(const char8* source, char8* destination, int32 maxBytes)
{
    if (!destination)
        return 0;
    int32 written = 0;
    for (int32 i = 0; source && maxBytes > 0 && source[i] != 0;)
    {
        const int32 n = sequenceLength(static_cast<unsigned char>(source[i]));
        int32 available = 1;
        while (available < n && source[i + available] != 0)
            ++available;
        if (written + available > maxBytes)
            break;
        for (int32 k = 0; k < available; ++k)
            destination[written++] = source[i + k];
        i += available;
    }
    destination[written] = 0;
    return written;
}

} // namespace Steinberg
