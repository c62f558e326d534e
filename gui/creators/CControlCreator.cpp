#include "gui/CControl.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace {

// control-tag (with its listener), default-value, min-value, max-value,
// wheel-inc-value. A bare CControl cannot be made; custom views use it.
void applyCControl(CControl& control, const UIAttributes& attributes, const IUIDescription* description)
{
    CreatorHelpers::doubleAttribute(attributes, "min-value", [&](double v) { control.setMin(static_cast<float>(v)); });
    CreatorHelpers::doubleAttribute(attributes, "max-value", [&](double v) { control.setMax(static_cast<float>(v)); });
    CreatorHelpers::doubleAttribute(attributes, "default-value",
                                    [&](double v) { control.setDefaultValue(static_cast<float>(v)); });
    CreatorHelpers::doubleAttribute(attributes, "wheel-inc-value",
                                    [&](double v) { control.setWheelInc(static_cast<float>(v)); });
    // Last, so that a listener sees the control's range when the tag arrives.
    const std::string* tagName = attributes.getAttributeValue("control-tag");
    if (tagName && description)
    {
        const int32 tag = description->getTagForName(tagName->c_str());
        if (tag != -1)
        {
            control.setListener(description->getControlListener(tagName->c_str()));
            control.setTag(tag);
        }
    }
}

} // namespace

std::unique_ptr<IViewCreator> makeCControlCreator()
{
    return std::make_unique<ViewCreator<CControl>>("CControl", "CView", applyCControl, false);
}

} // namespace VSTGUI
