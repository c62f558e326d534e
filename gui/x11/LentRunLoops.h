#pragma once

#include "gui/x11/IRunLoop.h"

namespace VSTGUI {
namespace X11 {

// The run loops lent to the library: an open editor lends its host's loop
// from open to close, and windows and timers made meanwhile register there.
// Loops stack, the one lent last serves.
class LentRunLoops
{
public:
    static void lend(IRunLoop* loop);
    static void giveBack(IRunLoop* loop);
    // The loop lent last, or null.
    static IRunLoop* current();
};

} // namespace X11
} // namespace VSTGUI
