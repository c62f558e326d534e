#include "gui/controls/COptionMenu.h"

#include "gui/CFrame.h"

#include <cmath>

namespace VSTGUI {

COptionMenu::COptionMenu(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background, int32 style)
    : CParamDisplay(size, background, style)
{
    setListener(listener);
    this->tag = tag;
    defaultValue = 0.f;
}

const std::string* COptionMenu::getEntry(int32 index) const
{
    if (index < 0 || index >= getNbEntries())
        return nullptr;
    return &entries[static_cast<size_t>(index)];
}

int32 COptionMenu::getCurrentIndex() const
{
    return static_cast<int32>(std::lround(value));
}

bool COptionMenu::setCurrent(int32 index)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    setValue(static_cast<float>(index));
    return true;
}

std::string COptionMenu::getDisplayedText()
{
    const std::string* entry = getEntry(getCurrentIndex());
    return entry ? *entry : std::string();
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton() || entries.empty() || !getFrame() || !getFrame()->getPlatformFrame())
        return kMouseEventNotHandled;
    PopupMenuDescription menu;
    menu.entries = entries;
    menu.checkedIndex = (style & kCheckStyle) ? getCurrentIndex() : -1;
    CPoint topLeft = size.getTopLeft();
    localToFrame(topLeft);
    menu.anchor = CRect(topLeft, size.getSize());
    menu.font = *font;
    // The menu stays alive until the list closes, even if the editor drops it.
    SharedPointer<COptionMenu> self(this);
    menu.onSelect = [self](int32 index)
    {
        if (self->isAttached())
            self->select(index);
    };
    getFrame()->getPlatformFrame()->showPopupMenu(menu);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void COptionMenu::select(int32 index)
{
    if (index < 0 || index >= getNbEntries())
        return;
    beginEdit();
    setValue(static_cast<float>(index));
    valueChanged();
    endEdit();
}

} // namespace VSTGUI
