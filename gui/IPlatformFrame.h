#pragma once

#include "gui/CColor.h"
#include "gui/CFontDesc.h"
#include "gui/CRect.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {

class CFrame;

// A list the window system shows over everything until the user picks an
// entry or dismisses it.
struct PopupMenuDescription
{
    std::vector<std::string> entries;
    int32 checkedIndex = -1; // ticked entry, -1 for none
    CRect anchor;            // frame coordinates; the list opens below it
    CFontDesc font{"Arial", 12};
    std::function<void(int32 index)> onSelect; // not called when dismissed
};

// The window-system side of a frame. Its window is the frame's size times
// the frame's scale factor; mouse positions are divided by it.
class IPlatformFrame
{
public:
    virtual ~IPlatformFrame() = default;

    // rect in frame coordinates; drawn on the next paint.
    virtual void invalidRect(const CRect& rect) = 0;
    // The frame's top left corner on the screen.
    virtual bool getGlobalPosition(CPoint& position) const = 0;
    virtual bool showPopupMenu(const PopupMenuDescription& menu) = 0;
    // The window system's handle of the frame's window, null without one.
    virtual void* getPlatformHandle() const { return nullptr; }
    // The keyboard for the frame's window while a view takes typed text, and
    // back to whoever had it before.
    virtual void takeKeyboardFocus() {}
    virtual void giveBackKeyboardFocus() {}
    // The frame's scale changed: the window takes its new size and is redrawn.
    virtual void setScaleFactor(double /*scaleFactor*/) {}
    // Device pixels per unit the window system's settings ask for (1 for
    // normal density).
    virtual double getSystemScaleFactor() const { return 1.; }

    // The frame's window inside the host's window parent (the handle of the
    // platform type VST3Editor names); null if it cannot be made.
    static std::unique_ptr<IPlatformFrame> create(CFrame* frame, void* parent);
};

} // namespace VSTGUI
