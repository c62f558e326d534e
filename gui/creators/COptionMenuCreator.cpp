#include "gui/IViewCreator.h"
#include "gui/controls/COptionMenu.h"
#include "gui/creators/CreatorHelpers.h"

#include <memory>

namespace VSTGUI {

namespace {

// menu-popup-style, menu-check-style.
class COptionMenuCreator : public IViewCreator
{
public:
    IdStringPtr getViewName() const override { return "COptionMenu"; }
    IdStringPtr getBaseViewName() const override { return "CParamDisplay"; }
    CView* create(const UIAttributes&, const IUIDescription*) const override { return new COptionMenu(CRect()); }
    bool apply(CView* view, const UIAttributes& attributes, const IUIDescription*) const override
    {
        auto* menu = dynamic_cast<COptionMenu*>(view);
        if (!menu)
            return false;
        int32 style = menu->getStyle();
        auto flag = [&](const char* name, int32 bit)
        {
            CreatorHelpers::boolAttribute(attributes, name,
                                          [&](bool on) { style = on ? (style | bit) : (style & ~bit); });
        };
        flag("menu-popup-style", COptionMenu::kPopupStyle);
        flag("menu-check-style", COptionMenu::kCheckStyle);
        menu->setStyle(style);
        return true;
    }
};

} // namespace

std::unique_ptr<IViewCreator> makeCOptionMenuCreator()
{
    return std::make_unique<COptionMenuCreator>();
}

} // namespace VSTGUI
