#include "gui/CFontDesc.h"

#include <utility>

namespace VSTGUI {

namespace {

CFontDesc systemFont("Arial", 12);
CFontDesc normalFontVeryBig("Arial", 18);
CFontDesc normalFontBig("Arial", 14);
CFontDesc normalFont("Arial", 12);
CFontDesc normalFontSmall("Arial", 11);
CFontDesc normalFontSmaller("Arial", 10);
CFontDesc normalFontVerySmall("Arial", 9);
CFontDesc symbolFont("Symbol", 12);

} // namespace

const CFontRef kSystemFont = &systemFont;
const CFontRef kNormalFontVeryBig = &normalFontVeryBig;
const CFontRef kNormalFontBig = &normalFontBig;
const CFontRef kNormalFont = &normalFont;
const CFontRef kNormalFontSmall = &normalFontSmall;
const CFontRef kNormalFontSmaller = &normalFontSmaller;
const CFontRef kNormalFontVerySmall = &normalFontVerySmall;
const CFontRef kSymbolFont = &symbolFont;

std::string CFontDesc::getPlatformFamily() const
{
    static const std::pair<const char*, const char*> metricTwins[] = {
        {"Arial", "Liberation Sans"},  {"Helvetica", "Liberation Sans"},   {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"}, {"Courier New", "Liberation Mono"}, {"Courier", "Liberation Mono"},
    };
    for (const auto& twin : metricTwins)
    {
        if (name == twin.first)
            return twin.second;
    }
    return name.empty() ? "Liberation Sans" : name;
}

CFontRef getStandardFont(const std::string& name)
{
    static const std::pair<const char*, CFontRef> standard[] = {
        {"~ SystemFont", kSystemFont},
        {"~ NormalFontVeryBig", kNormalFontVeryBig},
        {"~ NormalFontBig", kNormalFontBig},
        {"~ NormalFont", kNormalFont},
        {"~ NormalFontSmall", kNormalFontSmall},
        {"~ NormalFontSmaller", kNormalFontSmaller},
        {"~ NormalFontVerySmall", kNormalFontVerySmall},
        {"~ SymbolFont", kSymbolFont},
    };
    for (const auto& entry : standard)
    {
        if (name == entry.first)
            return entry.second;
    }
    return nullptr;
}

} // namespace VSTGUI
