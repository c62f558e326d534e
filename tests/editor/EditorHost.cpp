#include "EditorHost.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>

namespace EditorTest {

void EditorHost::settle(int milliseconds)
{
    XSync(window.display, False);
    runLoop.runFor(std::chrono::milliseconds(milliseconds));
    XSync(window.display, False);
}

void EditorHost::moveTo(int x, int y)
{
    window.move(x, y);
    settle(20);
}

void EditorHost::holdButton(bool down, unsigned button)
{
    window.button(button, down);
    settle(30);
}

void EditorHost::click(int x, int y, unsigned button)
{
    moveTo(x, y);
    holdButton(true, button);
    holdButton(false, button);
}

void EditorHost::doubleClick(int x, int y)
{
    moveTo(x, y);
    for (bool down : {true, false, true, false})
        window.button(1, down);
    settle(60);
}

void EditorHost::holdKey(unsigned long keysym, bool down)
{
    window.key(keysym, down);
    settle(20);
}

void EditorHost::tap(unsigned long keysym)
{
    window.key(keysym, true);
    window.key(keysym, false);
    settle(20);
}

void EditorHost::drag(int x, int y, int dy)
{
    moveTo(x, y);
    holdButton(true);
    const int steps = std::max(1, std::abs(dy) / 5);
    for (int i = 1; i <= steps; ++i)
        moveTo(x, y + dy * i / steps);
    holdButton(false);
}

} // namespace EditorTest
