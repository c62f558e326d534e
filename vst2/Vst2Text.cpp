#include "vst2/Vst2Text.h"

namespace Vst2Text {

using Steinberg::char16;
using Steinberg::int32;
using Steinberg::uint32;

namespace {

// Bytes of the UTF-8 sequence that starts with lead; 1 for a stray byte so a
// malformed text still advances.
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

int32 encode(uint32 codePoint, char* out)
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

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

constexpr uint32 kReplacement = 0xFFFD;

} // namespace

int32 copy(char* dest, const char* src, int32 maxBytes)
{
    if (!dest)
        return 0;
    int32 written = 0;
    if (src && maxBytes > 0)
    {
        int32 i = 0;
        while (src[i] != 0)
        {
            const int32 n = sequenceLength(static_cast<unsigned char>(src[i]));
            int32 available = 1;
            while (available < n && src[i + available] != 0)
                ++available;
            if (written + available > maxBytes)
                break;
            for (int32 k = 0; k < available; ++k)
                dest[written++] = src[i + k];
            i += available;
        }
    }
    dest[written] = 0;
    return written;
}

namespace {

// The code point that starts at src[i], advancing i past a surrogate pair.
uint32 decodeAt(const char16* src, int32& i)
{
    uint32 codePoint = static_cast<uint32>(src[i]);
    if (codePoint >= 0xD800 && codePoint < 0xDC00 && src[i + 1] >= 0xDC00 && src[i + 1] < 0xE000)
    {
        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (static_cast<uint32>(src[i + 1]) - 0xDC00);
        ++i;
    }
    else if (codePoint >= 0xD800 && codePoint < 0xE000)
    {
        codePoint = kReplacement; // lone surrogate
    }
    return codePoint;
}

} // namespace

int32 copy(char* dest, const char16* src, int32 maxBytes)
{
    if (!dest)
        return 0;
    int32 written = 0;
    if (src && maxBytes > 0)
    {
        for (int32 i = 0; src[i] != 0; ++i)
        {
            char encoded[4];
            const int32 n = encode(decodeAt(src, i), encoded);
            if (written + n > maxBytes)
                break;
            for (int32 k = 0; k < n; ++k)
                dest[written++] = encoded[k];
        }
    }
    dest[written] = 0;
    return written;
}

int32 utf8Length(const char16* src)
{
    int32 bytes = 0;
    char encoded[4];
    for (int32 i = 0; src && src[i] != 0; ++i)
        bytes += encode(decodeAt(src, i), encoded);
    return bytes;
}

void toUtf16(char16* dest, const char* src, int32 maxUnits)
{
    if (!dest)
        return;
    int32 written = 0;
    if (src && maxUnits > 0)
    {
        const auto* s = reinterpret_cast<const unsigned char*>(src);
        int32 i = 0;
        while (s[i] != 0)
        {
            const int32 n = sequenceLength(s[i]);
            uint32 codePoint = n == 1 ? (s[i] < 0x80 ? s[i] : kReplacement) : (s[i] & (0x7F >> n));
            int32 used = 1;
            for (; used < n; ++used)
            {
                if (!isContinuation(s[i + used]))
                    break;
                codePoint = (codePoint << 6) | (s[i + used] & 0x3F);
            }
            if (used < n || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000))
                codePoint = kReplacement;
            i += used;

            if (codePoint >= 0x10000)
            {
                if (written + 2 > maxUnits)
                    break;
                codePoint -= 0x10000;
                dest[written++] = static_cast<char16>(0xD800 + (codePoint >> 10));
                dest[written++] = static_cast<char16>(0xDC00 + (codePoint & 0x3FF));
            }
            else
            {
                if (written + 1 > maxUnits)
                    break;
                dest[written++] = static_cast<char16>(codePoint);
            }
        }
    }
    dest[written] = 0;
}

bool equalsIgnoringCase(const char* a, const char* b)
{
    if (!a || !b)
        return false;
    auto lower = [](char c)
    {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (; *a && *b; ++a, ++b)
        if (lower(*a) != lower(*b))
            return false;
    return *a == *b;
}

} // namespace Vst2Text
