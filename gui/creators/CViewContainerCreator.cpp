#include "gui/CViewContainer.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace {

// background-color.
void applyCViewContainer(CViewContainer& container, const UIAttributes& attributes, const IUIDescription* description)
{
    CreatorHelpers::colorAttribute(attributes, "background-color", description,
                                   [&](const CColor& c) { container.setBackgroundColor(c); });
}

} // namespace

std::unique_ptr<IViewCreator> makeCViewContainerCreator()
{
    return std::make_unique<ViewCreator<CViewContainer>>("CViewContainer", "CView", applyCViewContainer);
}

} // namespace VSTGUI
