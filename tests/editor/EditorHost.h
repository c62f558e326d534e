#pragma once

// The host around an embedded editor: its window on the private X server and
// its run loop, with synthetic input that the editor is then given time to
// handle.

#include "TestRunLoop.h"
#include "XvfbServer.h"

namespace EditorTest {

class EditorHost
{
public:
    // Lets the editor handle events and timers for a while (real time).
    void settle(int milliseconds = 80);

    // Synthetic input at editor coordinates.
    void moveTo(int x, int y);
    void holdButton(bool down, unsigned button = 1);
    void click(int x, int y, unsigned button = 1);
    // Both clicks sent at once, so that a loaded machine cannot stretch them
    // beyond the double-click time.
    void doubleClick(int x, int y);
    void holdKey(unsigned long keysym, bool down);
    void tap(unsigned long keysym);
    // Drags from (x, y) by dy pixels (negative is up) in small steps.
    void drag(int x, int y, int dy);

    HostWindow window; // outlives any plug-in view embedded in it
    TestRunLoop runLoop;
};

} // namespace EditorTest
