#pragma once

#include "gui/IPlatformTimer.h"

#include <windows.h>

namespace VSTGUI {
namespace Win32 {

// The windows lent to timers: a frame lends its window while it exists, and
// timers started meanwhile run on it (SetTimer), so on the thread that owns
// it. Windows stack; the one lent last serves.
class TimerWindows
{
public:
    static void lend(HWND window);
    static void giveBack(HWND window);
    // The window lent last, or null.
    static HWND current();
    // Timers now registered with a window.
    static size_t runningTimers();
};

} // namespace Win32
} // namespace VSTGUI
