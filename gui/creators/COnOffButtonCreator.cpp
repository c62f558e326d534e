#include "gui/IViewCreator.h"
#include "gui/controls/COnOffButton.h"

#include <memory>

namespace VSTGUI {

namespace {

// No attributes of its own.
class COnOffButtonCreator : public IViewCreator
{
public:
    IdStringPtr getViewName() const override { return "COnOffButton"; }
    IdStringPtr getBaseViewName() const override { return "CControl"; }
    CView* create(const UIAttributes&, const IUIDescription*) const override { return new COnOffButton(CRect()); }
    bool apply(CView* view, const UIAttributes&, const IUIDescription*) const override
    {
        return dynamic_cast<COnOffButton*>(view) != nullptr;
    }
};

} // namespace

std::unique_ptr<IViewCreator> makeCOnOffButtonCreator()
{
    return std::make_unique<COnOffButtonCreator>();
}

} // namespace VSTGUI
