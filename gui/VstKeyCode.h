#pragma once

#include "gui/CBaseObject.h"

namespace VSTGUI {

// Keys without a character. The numbers are those of the VST 3 host
// interface's virtual key codes, so host key events pass through unchanged.
enum VirtualKey : uint8_t
{
    VKEY_BACK = 1,
    VKEY_TAB = 2,
    VKEY_RETURN = 4,
    VKEY_ESCAPE = 6,
    VKEY_SPACE = 7,
    VKEY_END = 9,
    VKEY_HOME = 10,
    VKEY_LEFT = 11,
    VKEY_UP = 12,
    VKEY_RIGHT = 13,
    VKEY_DOWN = 14,
    VKEY_PAGEUP = 15,
    VKEY_PAGEDOWN = 16,
    VKEY_ENTER = 19,
    VKEY_INSERT = 21,
    VKEY_DELETE = 22,
};

// Also the host interface's numbers.
enum KeyModifier : uint8_t
{
    MODIFIER_SHIFT = 1 << 0,
    MODIFIER_ALTERNATE = 1 << 1,
    MODIFIER_COMMAND = 1 << 2,
    MODIFIER_CONTROL = 1 << 3,
};

// One key event: a character or a virtual key, and the modifiers held.
struct VstKeyCode
{
    int32 character = 0; // Unicode code point, 0 for none
    uint8_t virt = 0;    // VirtualKey, 0 for none
    uint8_t modifier = 0;
};

// Results of the key handlers.
constexpr int32 kKeyHandled = 1;
constexpr int32 kKeyNotHandled = -1;

class CFrame;

// Sees key events that neither the focus view nor the view under the mouse
// took: a modal view's attached controller that implements it gets them.
class IKeyboardHook
{
public:
    virtual ~IKeyboardHook() = default;
    virtual int32 onKeyDown(const VstKeyCode& code, CFrame* frame) = 0;
};

} // namespace VSTGUI
