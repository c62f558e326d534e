#pragma once

#include "gui/CControl.h"

namespace VSTGUI {

// A switch between min and max; its bitmap holds the off frame above the on frame.
class COnOffButton : public CControl
{
public:
    COnOffButton(const CRect& size, IControlListener* listener = nullptr, int32 tag = 0, CBitmap* background = nullptr);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    CLASS_METHODS(COnOffButton, CControl)
};

} // namespace VSTGUI
