#pragma once

#include <cstdint>
#include <string>

namespace VSTGUI {

// An sRGB colour with straight (not premultiplied) alpha.
struct CColor
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    constexpr CColor() = default;
    constexpr CColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) : red(r), green(g), blue(b), alpha(a) {}

    bool operator==(const CColor& c) const
    {
        return red == c.red && green == c.green && blue == c.blue && alpha == c.alpha;
    }
    bool operator!=(const CColor& c) const { return !(*this == c); }
};

constexpr CColor kTransparentCColor(255, 255, 255, 0);
constexpr CColor kBlackCColor(0, 0, 0, 255);
constexpr CColor kWhiteCColor(255, 255, 255, 255);
constexpr CColor kGreyCColor(127, 127, 127, 255);
constexpr CColor kRedCColor(255, 0, 0, 255);
constexpr CColor kGreenCColor(0, 255, 0, 255);
constexpr CColor kBlueCColor(0, 0, 255, 255);
constexpr CColor kYellowCColor(255, 255, 0, 255);
constexpr CColor kCyanCColor(0, 255, 255, 255);
constexpr CColor kMagentaCColor(255, 0, 255, 255);

// "#rrggbb" or "#rrggbbaa" (hex digits); false for anything else.
bool parseColorString(const std::string& text, CColor& color);
// The library's own colours by their description names ("~ BlackCColor").
bool getStandardColor(const std::string& name, CColor& color);

} // namespace VSTGUI
