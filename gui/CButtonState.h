#pragma once

#include "gui/CBaseObject.h"

namespace VSTGUI {

enum CButton : int32
{
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kDoubleClick = 1 << 8,
};

enum CMouseEventResult : int32
{
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
    kMouseMoveEventHandledButDontNeedMoreEvents,
};

// Mouse buttons and keyboard modifiers of one mouse event.
class CButtonState
{
public:
    CButtonState(int32 state = 0) : state(state) {}

    int32 getButtonState() const { return state & (kLButton | kMButton | kRButton); }
    int32 getModifierState() const { return state & (kShift | kControl | kAlt | kApple); }
    bool isLeftButton() const { return (state & kLButton) != 0; }
    bool isRightButton() const { return (state & kRButton) != 0; }
    bool isDoubleClick() const { return (state & kDoubleClick) != 0; }
    int32 operator&(int32 mask) const { return state & mask; }
    int32 operator()() const { return state; }
    bool operator==(const CButtonState& o) const { return state == o.state; }

private:
    int32 state;
};

} // namespace VSTGUI
