#include "gui/controls/CParamDisplay.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace CreatorHelpers {

bool parseAlignment(const std::string& text, int32& alignment)
{
    if (text == "left")
        alignment = kLeftText;
    else if (text == "center")
        alignment = kCenterText;
    else if (text == "right")
        alignment = kRightText;
    else
        return false;
    return true;
}

} // namespace CreatorHelpers

namespace {

// Font and colours, the style switches, frame and text geometry.
void applyCParamDisplay(CParamDisplay& display, const UIAttributes& attributes, const IUIDescription* description)
{
    using namespace CreatorHelpers;
    fontAttribute(attributes, "font", description, [&](CFontRef f) { display.setFont(f); });
    colorAttribute(attributes, "font-color", description, [&](const CColor& c) { display.setFontColor(c); });
    colorAttribute(attributes, "back-color", description, [&](const CColor& c) { display.setBackColor(c); });
    colorAttribute(attributes, "frame-color", description, [&](const CColor& c) { display.setFrameColor(c); });
    colorAttribute(attributes, "shadow-color", description, [&](const CColor& c) { display.setShadowColor(c); });
    boolAttribute(attributes, "font-antialias", [&](bool v) { display.setAntialias(v); });
    doubleAttribute(attributes, "round-rect-radius", [&](double v) { display.setRoundRectRadius(v); });
    doubleAttribute(attributes, "frame-width", [&](double v) { display.setFrameWidth(v); });
    CPoint inset;
    if (attributes.getPointAttribute("text-inset", inset))
        display.setTextInset(inset);
    int32 precision = 0;
    if (attributes.getIntegerAttribute("value-precision", precision) && precision >= 0)
        display.setPrecision(precision);
    const std::string* alignText = attributes.getAttributeValue("text-alignment");
    int32 alignment = 0;
    if (alignText && parseAlignment(*alignText, alignment))
        display.setHoriAlign(static_cast<CHoriTxtAlign>(alignment));

    static const StyleFlag styleFlags[] = {
        {"style-3D-in", CParamDisplay::k3DIn},
        {"style-3D-out", CParamDisplay::k3DOut},
        {"style-no-frame", CParamDisplay::kNoFrame},
        {"style-no-text", CParamDisplay::kNoTextStyle},
        {"style-no-draw", CParamDisplay::kNoDrawStyle},
        {"style-shadow-text", CParamDisplay::kShadowText},
        {"style-round-rect", CParamDisplay::kRoundRectStyle},
    };
    display.setStyle(styleAttributes(attributes, styleFlags, display.getStyle()));
}

} // namespace

std::unique_ptr<IViewCreator> makeCParamDisplayCreator()
{
    return std::make_unique<ViewCreator<CParamDisplay>>("CParamDisplay", "CControl", applyCParamDisplay);
}

} // namespace VSTGUI
