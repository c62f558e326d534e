#include "gui/controls/CParamDisplay.h"

#include "gui/CFrame.h"
#include "gui/controls/CTextEdit.h"
#include "sdk/NumberText.h"

#include <algorithm>

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32 style)
    : CControl(size, nullptr, 0, background), font(kSystemFont), style(style)
{
}

void CParamDisplay::setFont(CFontRef newFont)
{
    if (!newFont)
        return;
    font = newFont;
    invalid();
}

std::string CParamDisplay::getDisplayedText()
{
    std::string text;
    if (valueToString && valueToString(value, text, this))
        return text;
    // not printf: it would write the host process's decimal comma
    char number[64];
    Steinberg::NumberText::printFloat(value, valuePrecision, number, sizeof number);
    return number;
}

CMouseEventResult CParamDisplay::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (buttons.isLeftButton() && buttons.isDoubleClick() && openTextEdit())
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    return CControl::onMouseDown(where, buttons);
}

bool CParamDisplay::openTextEdit()
{
    constexpr CCoord kMinimumWidth = 44; // a value with its sign, decimals and unit
    constexpr CColor kTextEditFrameColor(128, 176, 255, 255);
    auto* parent = dynamic_cast<CViewContainer*>(getParentView());
    CFrame* frame = getFrame();
    if (!textInput || !parent || !frame)
        return false;
    // Centred on the display, wide enough to type in, inside the parent.
    CRect area = size;
    const CCoord width = std::max(area.getWidth(), kMinimumWidth);
    area.left = area.getCenter().x - width / 2;
    area.right = area.left + width;
    area.offset(std::max<CCoord>(0, -area.left), 0);
    area.offset(std::min<CCoord>(0, parent->getWidth() - area.right), 0);

    SharedPointer<CParamDisplay> self(this);
    auto* field = new CTextEdit(area, getDisplayedText().c_str(),
                                [self](const std::string* committed)
                                {
                                    TextInputFunction apply = self->textInput;
                                    if (committed && apply)
                                        apply(*committed, self);
                                    // An unparsable text leaves the old value, shown again.
                                    self->invalid();
                                });
    field->setFont(font);
    field->setFontColor(fontColor);
    field->setBackColor(kBlackCColor);
    field->setFrameColor(kTextEditFrameColor);
    field->setAntialias(antialias);
    if (!parent->addView(field))
    {
        field->forget();
        return false;
    }
    frame->setFocusView(field);
    return true;
}

void CParamDisplay::draw(CDrawContext* context)
{
    if (style & kNoDrawStyle)
        return;
    drawBack(context);
    if (!(style & kNoTextStyle))
        drawText(context, getDisplayedText());
    setDirty(false);
}

void CParamDisplay::drawBack(CDrawContext* context)
{
    if (getBackground())
    {
        context->drawBitmap(getBackground(), size);
        return;
    }
    if (getTransparency())
        return;
    const bool round = (style & kRoundRectStyle) != 0;
    context->setFillColor(backColor);
    if (round)
        context->drawRoundRect(size, roundRectRadius, kDrawFilled);
    else
        context->drawRect(size, kDrawFilled);
    if (style & (k3DIn | k3DOut))
    {
        // Bevel: light top-left and dark bottom-right edges, swapped when sunken.
        const CColor light(255, 255, 255, 120);
        const CColor dark(0, 0, 0, 160);
        const bool sunken = (style & k3DIn) != 0;
        context->setLineWidth(1);
        context->setFrameColor(sunken ? dark : light);
        context->drawLine(CPoint(size.left, size.top), CPoint(size.right - 1, size.top));
        context->drawLine(CPoint(size.left, size.top), CPoint(size.left, size.bottom - 1));
        context->setFrameColor(sunken ? light : dark);
        context->drawLine(CPoint(size.left, size.bottom - 1), CPoint(size.right - 1, size.bottom - 1));
        context->drawLine(CPoint(size.right - 1, size.top), CPoint(size.right - 1, size.bottom - 1));
    }
    else if (!(style & kNoFrame))
    {
        context->setLineWidth(frameWidth);
        context->setFrameColor(frameColor);
        if (round)
            context->drawRoundRect(size, roundRectRadius, kDrawStroked);
        else
            context->drawRect(size, kDrawStroked);
    }
}

void CParamDisplay::drawText(CDrawContext* context, const std::string& text)
{
    if (text.empty())
        return;
    CRect textRect = size;
    textRect.inset(textInset.x, textInset.y);
    context->setFont(font);
    if (style & kShadowText)
    {
        CRect shadowRect = textRect;
        shadowRect.offset(1, 1);
        context->setFontColor(shadowColor);
        context->drawString(text.c_str(), shadowRect, horiTxtAlign, antialias);
    }
    context->setFontColor(fontColor);
    context->drawString(text.c_str(), textRect, horiTxtAlign, antialias);
}

} // namespace VSTGUI
