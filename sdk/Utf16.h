#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {

// UTF-8 to zero-terminated UTF-16, cut to `capacity` units (terminator
// included) without splitting a surrogate pair; malformed bytes become U+FFFD.
void utf8ToUtf16(const char8* source, char16* destination, int32 capacity);

} // namespace Steinberg
