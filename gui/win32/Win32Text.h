#pragma once

#include <string>

namespace VSTGUI {
namespace Win32 {

// UTF-8 and the UTF-16 of the Windows API; invalid input becomes U+FFFD.
std::wstring toWide(const std::string& text);
std::string toUtf8(const wchar_t* text, size_t length);

} // namespace Win32
} // namespace VSTGUI
