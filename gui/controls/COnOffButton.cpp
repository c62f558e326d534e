#include "gui/controls/COnOffButton.h"

#include "gui/CDrawContext.h"

namespace VSTGUI {

COnOffButton::COnOffButton(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background)
    : CControl(size, listener, tag, background)
{
}

void COnOffButton::draw(CDrawContext* context)
{
    if (getBackground())
        context->drawBitmap(getBackground(), size, CPoint(0, value == vmax ? size.getHeight() : 0));
    setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    setValue(value == vmax ? vmin : vmax);
    valueChanged();
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace VSTGUI
