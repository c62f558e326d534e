#include "gui/controls/CTextButton.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace {

// title, font, text, gradient and frame colours (plain and highlighted),
// frame-width, round-radius, kick-style, text-alignment.
void applyCTextButton(CTextButton& button, const UIAttributes& attributes, const IUIDescription* description)
{
    using namespace CreatorHelpers;
    if (const std::string* title = attributes.getAttributeValue("title"))
        button.setTitle(title->c_str());
    fontAttribute(attributes, "font", description, [&](CFontRef f) { button.setFont(f); });
    colorAttribute(attributes, "text-color", description, [&](const CColor& c) { button.setTextColor(c); });
    colorAttribute(attributes, "text-color-highlighted", description,
                   [&](const CColor& c) { button.setTextColorHighlighted(c); });
    colorAttribute(attributes, "frame-color", description, [&](const CColor& c) { button.setFrameColor(c); });
    colorAttribute(attributes, "frame-color-highlighted", description,
                   [&](const CColor& c) { button.setFrameColorHighlighted(c); });
    CColor start = button.getGradientStartColor();
    CColor end = button.getGradientEndColor();
    colorAttribute(attributes, "gradient-start-color", description, [&](const CColor& c) { start = c; });
    colorAttribute(attributes, "gradient-end-color", description, [&](const CColor& c) { end = c; });
    button.setGradientColors(start, end);
    start = button.getGradientStartColorHighlighted();
    end = button.getGradientEndColorHighlighted();
    colorAttribute(attributes, "gradient-start-color-highlighted", description, [&](const CColor& c) { start = c; });
    colorAttribute(attributes, "gradient-end-color-highlighted", description, [&](const CColor& c) { end = c; });
    button.setGradientColorsHighlighted(start, end);
    doubleAttribute(attributes, "frame-width", [&](double v) { button.setFrameWidth(v); });
    doubleAttribute(attributes, "round-radius", [&](double v) { button.setRoundRadius(v); });
    boolAttribute(attributes, "kick-style",
                  [&](bool kick) { button.setStyle(kick ? CTextButton::kKickStyle : CTextButton::kOnOffStyle); });
    const std::string* alignText = attributes.getAttributeValue("text-alignment");
    int32 alignment = 0;
    if (alignText && parseAlignment(*alignText, alignment))
        button.setTextAlignment(static_cast<CHoriTxtAlign>(alignment));
}

} // namespace

std::unique_ptr<IViewCreator> makeCTextButtonCreator()
{
    return std::make_unique<ViewCreator<CTextButton>>("CTextButton", "CControl", applyCTextButton);
}

} // namespace VSTGUI
