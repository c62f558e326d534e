#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <clocale>
#include <string>

// Texts of the parameter tests: String128 to a printable string, and a locale
// switched for the length of a scope.
namespace TestText {

// The tests' texts are ASCII; anything else shows as '?'.
inline std::string narrow(const Steinberg::Vst::TChar* text)
{
    std::string result;
    for (; text && *text; ++text)
        result.push_back(*text < 128 ? static_cast<char>(*text) : '?');
    return result;
}

inline std::u16string widen(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

class ScopedLocale
{
public:
    explicit ScopedLocale(const char* name)
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        previous = current ? current : "C";
        available = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, previous.c_str()); }

    bool isAvailable() const { return available; }
    static std::string decimalPoint() { return std::localeconv()->decimal_point; }

private:
    std::string previous;
    bool available = false;
};

} // namespace TestText
