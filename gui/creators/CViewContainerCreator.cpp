#include "gui/CViewContainer.h"
#include "gui/IViewCreator.h"
#include "gui/creators/CreatorHelpers.h"

#include <memory>

namespace VSTGUI {

namespace {

// background-color.
class CViewContainerCreator : public IViewCreator
{
public:
    IdStringPtr getViewName() const override { return "CViewContainer"; }
    IdStringPtr getBaseViewName() const override { return "CView"; }
    CView* create(const UIAttributes&, const IUIDescription*) const override { return new CViewContainer(CRect()); }
    bool apply(CView* view, const UIAttributes& attributes, const IUIDescription* description) const override
    {
        auto* container = dynamic_cast<CViewContainer*>(view);
        if (!container)
            return false;
        CreatorHelpers::colorAttribute(attributes, "background-color", description,
                                       [&](const CColor& c) { container->setBackgroundColor(c); });
        return true;
    }
};

} // namespace

std::unique_ptr<IViewCreator> makeCViewContainerCreator()
{
    return std::make_unique<CViewContainerCreator>();
}

} // namespace VSTGUI
