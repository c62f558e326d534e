#pragma once

#include "gui/CButtonState.h"

namespace VSTGUI {

class CControl;

// Receives a control's edits.
class IControlListener
{
public:
    virtual ~IControlListener() = default;

    virtual void valueChanged(CControl* control) = 0;
    // Non-zero when the listener handled the click itself.
    virtual int32 controlModifierClicked(CControl* /*control*/, CButtonState /*buttons*/) { return 0; }
    virtual void controlBeginEdit(CControl* /*control*/) {}
    virtual void controlEndEdit(CControl* /*control*/) {}
    virtual void controlTagWillChange(CControl* /*control*/) {}
    virtual void controlTagDidChange(CControl* /*control*/) {}
};

} // namespace VSTGUI
