#include "gui/controls/COptionMenu.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace {

// menu-popup-style, menu-check-style.
void applyCOptionMenu(COptionMenu& menu, const UIAttributes& attributes, const IUIDescription*)
{
    static const CreatorHelpers::StyleFlag styleFlags[] = {
        {"menu-popup-style", COptionMenu::kPopupStyle},
        {"menu-check-style", COptionMenu::kCheckStyle},
    };
    menu.setStyle(CreatorHelpers::styleAttributes(attributes, styleFlags, menu.getStyle()));
}

} // namespace

std::unique_ptr<IViewCreator> makeCOptionMenuCreator()
{
    return std::make_unique<ViewCreator<COptionMenu>>("COptionMenu", "CParamDisplay", applyCOptionMenu);
}

} // namespace VSTGUI
