#pragma once

#include "gui/VstKeyCode.h"

#include <X11/Xlib.h>

namespace VSTGUI {
namespace X11 {

// The editor's key event for an X key event. withText: a press, whose
// character the input context composes when there is one (dead keys,
// compose); without one the key symbol gives the character.
VstKeyCode keyCodeOf(XKeyEvent& event, XIC inputContext, bool withText);

} // namespace X11
} // namespace VSTGUI
