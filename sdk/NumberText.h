#pragma once

#include "pluginterfaces/base/ftypes.h"

// Number texts that read and write the same in every process locale. Hosts run
// plug-ins inside their own process, often with a locale whose decimal point is
// a comma; parameter texts must not follow it.
namespace Steinberg {
namespace NumberText {

// Writes value as printf's "%.*f" does in the C locale: '.' as the decimal
// point, no grouping, "inf"/"nan" for non-finite values; a negative precision
// means 6. Unlike printf, a text that rounds to zero has no minus sign. The text is cut to fit textSize characters, terminator included.
// Returns the number of characters written before the terminator.
int32 printFloat(double value, int32 precision, char8* text, int32 textSize);
int32 printFloat(double value, int32 precision, char16* text, int32 textSize);

// Reads a decimal number as String::scanFloat does, without the locale: the
// first comma counts as the decimal point; when no number starts at the
// beginning the scan moves on one character at a time until a number is read
// or the text ends. Only plain decimal numbers with an optional sign, fraction
// and exponent count, so "inf", "nan" and texts of letters only give false and
// leave value unchanged. A number too large for a double reads as +-infinity.
bool scanFloat(const char8* text, double& value);
bool scanFloat(const char16* text, double& value);

} // namespace NumberText
} // namespace Steinberg
