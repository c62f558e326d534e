#include "gui/win32/Win32Text.h"

#include <windows.h>

#include <climits>

namespace VSTGUI {
namespace Win32 {

std::wstring toWide(const std::string& text)
{
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX))
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    if (wideLength > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], wideLength);
    return wide;
}

std::string toUtf8(const wchar_t* text, size_t length)
{
    if (!text || length == 0 || length > static_cast<size_t>(INT_MAX))
        return std::string();
    const int wideLength = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, wideLength, &utf8[0], size, nullptr, nullptr);
    return utf8;
}

} // namespace Win32
} // namespace VSTGUI
