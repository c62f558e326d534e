#include "gui/CColor.h"

#include <cctype>
#include <utility>

namespace VSTGUI {

namespace {

bool hexByte(const std::string& text, size_t at, uint8_t& out)
{
    unsigned value = 0;
    for (size_t i = at; i < at + 2; ++i)
    {
        const char c = text[i];
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                       ? c - '0'
                                                       : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
    }
    out = static_cast<uint8_t>(value);
    return true;
}

} // namespace

bool parseColorString(const std::string& text, CColor& color)
{
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#')
        return false;
    CColor parsed;
    if (!hexByte(text, 1, parsed.red) || !hexByte(text, 3, parsed.green) || !hexByte(text, 5, parsed.blue))
        return false;
    if (text.size() == 9 && !hexByte(text, 7, parsed.alpha))
        return false;
    color = parsed;
    return true;
}

bool getStandardColor(const std::string& name, CColor& color)
{
    static const std::pair<const char*, CColor> standard[] = {
        {"~ TransparentCColor", kTransparentCColor},
        {"~ BlackCColor", kBlackCColor},
        {"~ WhiteCColor", kWhiteCColor},
        {"~ GreyCColor", kGreyCColor},
        {"~ RedCColor", kRedCColor},
        {"~ GreenCColor", kGreenCColor},
        {"~ BlueCColor", kBlueCColor},
        {"~ YellowCColor", kYellowCColor},
        {"~ CyanCColor", kCyanCColor},
        {"~ MagentaCColor", kMagentaCColor},
    };
    for (const auto& entry : standard)
    {
        if (name == entry.first)
        {
            color = entry.second;
            return true;
        }
    }
    return false;
}

} // namespace VSTGUI
