#include "gui/CView.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace {

// origin, size, transparent, mouse-enabled, bitmap.
void applyCView(CView& view, const UIAttributes& attributes, const IUIDescription* description)
{
    CPoint origin = view.getViewSize().getTopLeft();
    CPoint size = view.getViewSize().getSize();
    const bool hasOrigin = attributes.getPointAttribute("origin", origin);
    const bool hasSize = attributes.getPointAttribute("size", size);
    if (hasOrigin || hasSize)
    {
        const CRect rect(origin, size);
        view.setViewSize(rect);
        view.setMouseableArea(rect);
    }
    CreatorHelpers::boolAttribute(attributes, "transparent", [&](bool v) { view.setTransparency(v); });
    CreatorHelpers::boolAttribute(attributes, "mouse-enabled", [&](bool v) { view.setMouseEnabled(v); });
    const std::string* bitmap = attributes.getAttributeValue("bitmap");
    if (bitmap && description)
        view.setBackground(description->getBitmap(bitmap->c_str()));
}

} // namespace

std::unique_ptr<IViewCreator> makeCViewCreator()
{
    return std::make_unique<ViewCreator<CView>>("CView", nullptr, applyCView);
}

} // namespace VSTGUI
