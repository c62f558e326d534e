#include "gui/controls/CTextButton.h"

namespace VSTGUI {

CTextButton::CTextButton(const CRect& size, IControlListener* listener, int32 tag, UTF8StringPtr t, Style style)
    : CControl(size, listener, tag), title(t ? t : ""), font(kSystemFont), style(style)
{
}

void CTextButton::setFont(CFontRef newFont)
{
    if (!newFont)
        return;
    font = newFont;
    invalid();
}

void CTextButton::setGradientColors(const CColor& start, const CColor& end)
{
    gradientStart = start;
    gradientEnd = end;
    invalid();
}

void CTextButton::setGradientColorsHighlighted(const CColor& start, const CColor& end)
{
    gradientStartHighlighted = start;
    gradientEndHighlighted = end;
    invalid();
}

void CTextButton::draw(CDrawContext* context)
{
    const bool highlighted = value == vmax;
    CRect face = size;
    face.inset(frameWidth / 2., frameWidth / 2.);
    context->fillRoundRectGradient(face, roundRadius, highlighted ? gradientStartHighlighted : gradientStart,
                                   highlighted ? gradientEndHighlighted : gradientEnd);
    if (frameWidth > 0)
    {
        context->setLineWidth(frameWidth);
        context->setFrameColor(highlighted ? frameColorHighlighted : frameColor);
        context->drawRoundRect(size, roundRadius, kDrawStroked);
    }
    CRect textRect = size;
    textRect.inset(roundRadius / 2., 0);
    context->setFont(font);
    context->setFontColor(highlighted ? textColorHighlighted : textColor);
    context->drawString(title.c_str(), textRect, textAlignment);
    setDirty(false);
}

CMouseEventResult CTextButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    entryValue = value;
    beginEdit();
    setValue(style == kKickStyle ? vmax : (value == vmax ? vmin : vmax));
    return kMouseEventHandled;
}

CMouseEventResult CTextButton::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!isEditing() || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    // Shows whether releasing here would press the button.
    const bool inside = size.pointInside(where);
    if (style == kKickStyle)
        setValue(inside ? vmax : vmin);
    else
        setValue(inside ? (entryValue == vmax ? vmin : vmax) : entryValue);
    return kMouseEventHandled;
}

CMouseEventResult CTextButton::onMouseUp(CPoint&, const CButtonState&)
{
    if (!isEditing())
        return kMouseEventHandled;
    if (style == kKickStyle)
    {
        if (value == vmax)
        {
            valueChanged();
            // The listener may have reset the value or made the button go away.
            setValue(vmin);
            valueChanged();
        }
    }
    else if (value != entryValue)
    {
        valueChanged();
    }
    endEdit();
    return kMouseEventHandled;
}

} // namespace VSTGUI
