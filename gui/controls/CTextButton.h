#pragma once

#include "gui/CColor.h"
#include "gui/CControl.h"
#include "gui/CDrawContext.h"
#include "gui/CFontDesc.h"

#include <string>

namespace VSTGUI {

// A push button with a title on a rounded gradient face. In kick style it
// reports max then min when released over itself; in on/off style it toggles.
class CTextButton : public CControl
{
public:
    enum Style : int32
    {
        kKickStyle = 0,
        kOnOffStyle
    };

    CTextButton(const CRect& size, IControlListener* listener = nullptr, int32 tag = -1, UTF8StringPtr title = nullptr,
                Style style = kKickStyle);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    void setTitle(UTF8StringPtr t)
    {
        title = t ? t : "";
        invalid();
    }
    UTF8StringPtr getTitle() const { return title.c_str(); }
    void setFont(CFontRef font);
    CFontRef getFont() const { return font; }
    void setTextColor(const CColor& c)
    {
        textColor = c;
        invalid();
    }
    CColor getTextColor() const { return textColor; }
    void setTextColorHighlighted(const CColor& c)
    {
        textColorHighlighted = c;
        invalid();
    }
    CColor getTextColorHighlighted() const { return textColorHighlighted; }
    void setGradientColors(const CColor& start, const CColor& end);
    void setGradientColorsHighlighted(const CColor& start, const CColor& end);
    CColor getGradientStartColor() const { return gradientStart; }
    CColor getGradientEndColor() const { return gradientEnd; }
    CColor getGradientStartColorHighlighted() const { return gradientStartHighlighted; }
    CColor getGradientEndColorHighlighted() const { return gradientEndHighlighted; }
    void setFrameColor(const CColor& c)
    {
        frameColor = c;
        invalid();
    }
    CColor getFrameColor() const { return frameColor; }
    void setFrameColorHighlighted(const CColor& c)
    {
        frameColorHighlighted = c;
        invalid();
    }
    CColor getFrameColorHighlighted() const { return frameColorHighlighted; }
    void setFrameWidth(CCoord w)
    {
        frameWidth = w;
        invalid();
    }
    CCoord getFrameWidth() const { return frameWidth; }
    void setRoundRadius(CCoord r)
    {
        roundRadius = r;
        invalid();
    }
    CCoord getRoundRadius() const { return roundRadius; }
    void setStyle(Style s) { style = s; }
    Style getStyle() const { return style; }
    void setTextAlignment(CHoriTxtAlign a)
    {
        textAlignment = a;
        invalid();
    }
    CHoriTxtAlign getTextAlignment() const { return textAlignment; }

    CLASS_METHODS(CTextButton, CControl)

private:
    std::string title;
    SharedPointer<CFontDesc> font;
    CColor textColor = kBlackCColor;
    CColor textColorHighlighted = kWhiteCColor;
    CColor gradientStart{220, 220, 220};
    CColor gradientEnd{180, 180, 180};
    CColor gradientStartHighlighted{180, 180, 180};
    CColor gradientEndHighlighted{100, 100, 100};
    CColor frameColor = kBlackCColor;
    CColor frameColorHighlighted = kBlackCColor;
    CCoord frameWidth = 1;
    CCoord roundRadius = 6;
    Style style;
    CHoriTxtAlign textAlignment = kCenterText;
    float entryValue = 0.f;
};

} // namespace VSTGUI
