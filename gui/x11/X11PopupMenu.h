#pragma once

#include "gui/IPlatformFrame.h"

#include <X11/Xlib.h>
#include <cairo.h>

namespace VSTGUI {
namespace X11 {

// An override-redirect list window that grabs the pointer and keyboard until
// an entry is picked or the list is dismissed.
class X11PopupMenu
{
public:
    // x, y: where the list should open, in screen pixels; anchorHeight in
    // screen pixels too. The list is drawn at scale pixels per unit.
    X11PopupMenu(Display* display, const PopupMenuDescription& menu, int x, int y, int anchorHeight, double scale = 1.);
    ~X11PopupMenu();
    X11PopupMenu(const X11PopupMenu&) = delete;
    X11PopupMenu& operator=(const X11PopupMenu&) = delete;

    Window getWindow() const { return window; }
    // Any pointer or key event while the list is open.
    void handleEvent(const XEvent& event);
    bool isDone() const { return done; }
    // The picked entry, or -1.
    int32 getResult() const { return result; }

    static constexpr int kItemHeight = 20;

private:
    int itemAt(int x, int y) const;
    void setHighlight(int index);
    void paint();
    void finish(int32 index);

    Display* display;
    PopupMenuDescription menu;
    Window window = 0;
    cairo_surface_t* surface = nullptr;
    int width = 0; // units
    int height = 0;
    double scale;
    int pixelWidth = 0;
    int pixelHeight = 0;
    int highlight = -1;
    bool movedInside = false;
    bool done = false;
    int32 result = -1;
};

} // namespace X11
} // namespace VSTGUI
