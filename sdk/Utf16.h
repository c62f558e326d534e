#pragma once

// The one UTF-8/UTF-16 codec of the code base. Texts are zero-terminated and
// may be null (read as empty); a text cut to fit is cut between characters.

#include "pluginterfaces/base/ftypes.h"

#include <string>

namespace Steinberg {

// UTF-8 to UTF-16, cut to `capacity` units (terminator included) without
// splitting a surrogate pair; malformed bytes become U+FFFD.
void utf8ToUtf16(const char8* source, char16* destination, int32 capacity);

// UTF-16 to UTF-8: at most maxBytes bytes of text, then the terminator. Lone
// surrogates become U+FFFD. Returns the number of text bytes written.
int32 utf16ToUtf8(const char16* source, char8* destination, int32 maxBytes);

// The whole text as UTF-8.
std::string utf16ToUtf8(const char16* source);

// The bytes of UTF-8 that utf16ToUtf8 makes of source when nothing is cut.
int32 utf8Length(const char16* source);

// Copies UTF-8 text: at most maxBytes bytes, then the terminator. Returns the
// number of text bytes written.
int32 copyUtf8(const char8* source, char8* destination, int32 maxBytes);

} // namespace Steinberg
