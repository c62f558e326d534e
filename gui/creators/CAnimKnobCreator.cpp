#include "gui/IViewCreator.h"
#include "gui/controls/CAnimKnob.h"
#include "gui/creators/CreatorHelpers.h"

#include <memory>

namespace VSTGUI {

namespace {

// height-of-one-image, sub-pixmaps, inverse-bitmap.
class CAnimKnobCreator : public IViewCreator
{
public:
    IdStringPtr getViewName() const override { return "CAnimKnob"; }
    IdStringPtr getBaseViewName() const override { return "CKnob"; }
    CView* create(const UIAttributes&, const IUIDescription*) const override { return new CAnimKnob(CRect()); }
    bool apply(CView* view, const UIAttributes& attributes, const IUIDescription*) const override
    {
        auto* knob = dynamic_cast<CAnimKnob*>(view);
        if (!knob)
            return false;
        using namespace CreatorHelpers;
        doubleAttribute(attributes, "height-of-one-image", [&](double v) { knob->setHeightOfOneImage(v); });
        int32 count = 0;
        if (attributes.getIntegerAttribute("sub-pixmaps", count) && count >= 0)
            knob->setNumSubPixmaps(count);
        boolAttribute(attributes, "inverse-bitmap", [&](bool v) { knob->setInverseBitmap(v); });
        return true;
    }
};

} // namespace

std::unique_ptr<IViewCreator> makeCAnimKnobCreator()
{
    return std::make_unique<CAnimKnobCreator>();
}

} // namespace VSTGUI
