#pragma once

// Texts handed to a VST 2 host: UTF-8, terminated, and never longer than the
// host's buffer for that text. A text that does not fit is cut before the
// character that would overflow, never inside one.

#include "pluginterfaces/base/ftypes.h"

namespace Vst2Text {

// Copies src (UTF-8, may be null) into dest: at most maxBytes bytes of text,
// then the terminator. Returns the number of text bytes written.
Steinberg::int32 copy(char* dest, const char* src, Steinberg::int32 maxBytes);

// Converts src (UTF-16, may be null) to UTF-8 into dest: at most maxBytes
// bytes of text, then the terminator. Returns the number of text bytes written.
Steinberg::int32 copy(char* dest, const Steinberg::char16* src, Steinberg::int32 maxBytes);

// Converts src (UTF-8, may be null) to UTF-16 into dest: at most maxUnits code
// units, then the terminator. Malformed bytes become U+FFFD.
void toUtf16(Steinberg::char16* dest, const char* src, Steinberg::int32 maxUnits);

// Bytes of the UTF-8 text that copy() makes of src when nothing is cut; 0
// for null.
Steinberg::int32 utf8Length(const Steinberg::char16* src);

// Case-insensitive comparison of ASCII texts; false if either is null.
bool equalsIgnoringCase(const char* a, const char* b);

} // namespace Vst2Text
