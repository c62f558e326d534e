#pragma once

#include "gui/CBaseObject.h"

#include <string>

namespace VSTGUI {

enum CTxtFace : int32
{
    kNormalFace = 0,
    kBoldFace = 1 << 1,
    kItalicFace = 1 << 2,
    kUnderlineFace = 1 << 3,
    kStrikethroughFace = 1 << 4,
};

// A font by family name, size in pixels and style bits.
class CFontDesc : public CBaseObject
{
public:
    CFontDesc(const std::string& name = "", CCoord size = 0, int32 style = kNormalFace)
        : name(name), size(size), style(style)
    {
    }

    const std::string& getName() const { return name; }
    CCoord getSize() const { return size; }
    int32 getStyle() const { return style; }
    void setName(const std::string& n) { name = n; }
    void setSize(CCoord s) { size = s; }
    void setStyle(int32 s) { style = s; }

    // The installed family drawn for this font: Windows core fonts map to their
    // metric-compatible Liberation faces.
    std::string getPlatformFamily() const;

private:
    std::string name;
    CCoord size;
    int32 style;
};

using CFontRef = CFontDesc*;

extern const CFontRef kSystemFont;
extern const CFontRef kNormalFontVeryBig;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontSmall;
extern const CFontRef kNormalFontSmaller;
extern const CFontRef kNormalFontVerySmall;
extern const CFontRef kSymbolFont;

// The library's own fonts by their description names ("~ SystemFont").
CFontRef getStandardFont(const std::string& name);

} // namespace VSTGUI
