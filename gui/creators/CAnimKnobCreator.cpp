#include "gui/controls/CAnimKnob.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace {

// height-of-one-image, sub-pixmaps, inverse-bitmap.
void applyCAnimKnob(CAnimKnob& knob, const UIAttributes& attributes, const IUIDescription*)
{
    using namespace CreatorHelpers;
    doubleAttribute(attributes, "height-of-one-image", [&](double v) { knob.setHeightOfOneImage(v); });
    int32 count = 0;
    if (attributes.getIntegerAttribute("sub-pixmaps", count) && count >= 0)
        knob.setNumSubPixmaps(count);
    boolAttribute(attributes, "inverse-bitmap", [&](bool v) { knob.setInverseBitmap(v); });
}

} // namespace

std::unique_ptr<IViewCreator> makeCAnimKnobCreator()
{
    return std::make_unique<ViewCreator<CAnimKnob>>("CAnimKnob", "CKnob", applyCAnimKnob);
}

} // namespace VSTGUI
