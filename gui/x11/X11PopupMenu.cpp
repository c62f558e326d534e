#include "gui/x11/X11PopupMenu.h"

#include "gui/x11/CairoDrawContext.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>

#include <algorithm>
#include <cmath>

namespace VSTGUI {
namespace X11 {

namespace {

constexpr int kCheckColumn = 20; // room for the tick left of the text
constexpr int kRightPadding = 12;
constexpr CColor kMenuBack(24, 30, 40);
constexpr CColor kMenuBorder(90, 110, 140);
constexpr CColor kHighlight(52, 92, 160);
constexpr CColor kText(235, 240, 245);
constexpr CColor kTick(120, 220, 90);

int measureWidth(const PopupMenuDescription& menu)
{
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    CairoDrawContext context(cr);
    context.setFont(&const_cast<CFontDesc&>(menu.font));
    CCoord widest = 0;
    for (const std::string& entry : menu.entries)
        widest = std::max(widest, context.getStringWidth(entry.c_str()));
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return static_cast<int>(widest) + kCheckColumn + kRightPadding;
}

} // namespace

X11PopupMenu::X11PopupMenu(Display* display, const PopupMenuDescription& description, int x, int y, int anchorHeight,
                           double scale)
    : display(display), menu(description), scale(scale > 0 ? scale : 1.)
{
    width = std::max(measureWidth(menu), static_cast<int>(menu.anchor.getWidth()));
    height = std::max<int>(1, static_cast<int>(menu.entries.size()) * kItemHeight + 2);
    pixelWidth = static_cast<int>(std::lround(width * this->scale));
    pixelHeight = static_cast<int>(std::lround(height * this->scale));
    const int screen = DefaultScreen(display);
    const int screenWidth = DisplayWidth(display, screen);
    const int screenHeight = DisplayHeight(display, screen);
    // Below the anchor if it fits, else above it.
    if (y + pixelHeight > screenHeight && y - anchorHeight - pixelHeight >= 0)
        y -= anchorHeight + pixelHeight;
    x = std::clamp(x, 0, std::max(0, screenWidth - pixelWidth));

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask | LeaveWindowMask;
    attributes.save_under = True;
    window = XCreateWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(pixelWidth),
                           static_cast<unsigned>(pixelHeight), 0, CopyFromParent, InputOutput, CopyFromParent,
                           CWOverrideRedirect | CWEventMask | CWSaveUnder, &attributes);
    Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    Atom popupType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU", False);
    XChangeProperty(display, window, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&popupType),
                    1);
    XMapRaised(display, window);

    XWindowAttributes info;
    XGetWindowAttributes(display, window, &info);
    surface = cairo_xlib_surface_create(display, window, info.visual, pixelWidth, pixelHeight);

    highlight = menu.checkedIndex;
    XGrabPointer(display, window, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    XFlush(display);
}

X11PopupMenu::~X11PopupMenu()
{
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    if (surface)
        cairo_surface_destroy(surface);
    XDestroyWindow(display, window);
    XFlush(display);
}

int X11PopupMenu::itemAt(int pixelX, int pixelY) const
{
    const int x = static_cast<int>(std::floor(pixelX / scale));
    const int y = static_cast<int>(std::floor(pixelY / scale));
    if (x < 0 || x >= width || y < 1 || y >= height - 1)
        return -1;
    const int index = (y - 1) / kItemHeight;
    return index < static_cast<int>(menu.entries.size()) ? index : -1;
}

void X11PopupMenu::setHighlight(int index)
{
    if (index == highlight)
        return;
    highlight = index;
    paint();
}

void X11PopupMenu::finish(int32 index)
{
    done = true;
    result = index;
}

void X11PopupMenu::handleEvent(const XEvent& event)
{
    if (done)
        return;
    const bool onList = event.xany.window == window;
    switch (event.type)
    {
    case Expose:
        if (onList && event.xexpose.count == 0)
            paint();
        break;
    case MotionNotify:
        if (onList)
        {
            const int index = itemAt(event.xmotion.x, event.xmotion.y);
            if (index >= 0)
                movedInside = true;
            setHighlight(index);
        }
        break;
    case ButtonPress:
    {
        const int index = onList ? itemAt(event.xbutton.x, event.xbutton.y) : -1;
        if (event.xbutton.button > Button3)
            break; // the wheel neither picks nor dismisses
        finish(index);
        break;
    }
    case ButtonRelease:
        // Releasing the opening click leaves the list open; a drag into it picks.
        if (onList && movedInside)
        {
            const int index = itemAt(event.xbutton.x, event.xbutton.y);
            if (index >= 0)
                finish(index);
        }
        break;
    case KeyPress:
    {
        XKeyEvent key = event.xkey;
        const KeySym sym = XLookupKeysym(&key, 0);
        const int count = static_cast<int>(menu.entries.size());
        if (sym == XK_Escape)
            finish(-1);
        else if ((sym == XK_Return || sym == XK_KP_Enter || sym == XK_space) && highlight >= 0)
            finish(highlight);
        else if (sym == XK_Down && count > 0)
            setHighlight(highlight < 0 ? 0 : std::min(highlight + 1, count - 1));
        else if (sym == XK_Up && count > 0)
            setHighlight(highlight < 0 ? count - 1 : std::max(highlight - 1, 0));
        break;
    }
    default: break;
    }
}

void X11PopupMenu::paint()
{
    cairo_t* cr = cairo_create(surface);
    CairoDrawContext context(cr, scale);
    context.setFillColor(kMenuBack);
    context.drawRect(CRect(0, 0, width, height), kDrawFilled);
    context.setFont(&menu.font);
    for (int i = 0; i < static_cast<int>(menu.entries.size()); ++i)
    {
        const CRect item(1, 1 + i * kItemHeight, width - 1, 1 + (i + 1) * kItemHeight);
        if (i == highlight)
        {
            context.setFillColor(kHighlight);
            context.drawRect(item, kDrawFilled);
        }
        if (i == menu.checkedIndex)
        {
            // A drawn tick, independent of the font's glyphs.
            cairo_set_source_rgb(cr, kTick.red / 255., kTick.green / 255., kTick.blue / 255.);
            cairo_set_line_width(cr, 2);
            cairo_move_to(cr, item.left + 5, item.top + 10);
            cairo_line_to(cr, item.left + 8.5, item.top + 14);
            cairo_line_to(cr, item.left + 14, item.top + 6);
            cairo_stroke(cr);
        }
        CRect text = item;
        text.left += kCheckColumn;
        context.setFontColor(kText);
        context.drawString(menu.entries[static_cast<size_t>(i)].c_str(), text, kLeftText);
    }
    context.setFrameColor(kMenuBorder);
    context.setLineWidth(1);
    context.drawRect(CRect(0, 0, width, height), kDrawStroked);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    XFlush(display);
}

} // namespace X11
} // namespace VSTGUI
