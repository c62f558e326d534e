#include "gui/x11/X11Frame.h"

#include "gui/CFrame.h"
#include "gui/x11/CairoDrawContext.h"
#include "gui/x11/X11Keys.h"
#include "gui/x11/X11PopupMenu.h"

#include <X11/Xatom.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <cmath>
#include <cstdlib>

namespace VSTGUI {
namespace X11 {

namespace {

constexpr unsigned long kXEmbedMapped = 1; // _XEMBED_INFO flag: the client wants to be shown
constexpr Time kDoubleClickTime = 400;     // milliseconds
constexpr CCoord kDoubleClickSlop = 4;     // pixels
constexpr size_t kMaxDirtyRects = 16;      // beyond this the dirty area is merged into one
constexpr double kNormalDpi = 96.;

// X reports errors asynchronously; while creating the window a bad parent ID
// must fail the creation, not end the host process.
bool trappedError = false;
int trapError(Display*, XErrorEvent*)
{
    trappedError = true;
    return 0;
}

} // namespace

} // namespace X11

// Needs a lent run loop (LentRunLoops); parent is an X window ID.
std::unique_ptr<IPlatformFrame> IPlatformFrame::create(CFrame* frame, void* parent)
{
    return X11::X11Frame::create(frame, reinterpret_cast<uintptr_t>(parent));
}

namespace X11 {

std::unique_ptr<X11Frame> X11Frame::create(CFrame* frame, unsigned long parentWindow)
{
    if (!frame || parentWindow == 0 || !LentRunLoops::current())
        return nullptr;
    std::unique_ptr<X11Frame> platform(new X11Frame(frame));
    if (!platform->init(static_cast<Window>(parentWindow)))
        return nullptr;
    return platform;
}

X11Frame::X11Frame(CFrame* frame) : frame(frame) {}

bool X11Frame::init(Window parent)
{
    display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    scale = frame->getScaleFactor();
    updatePixelSize();

    XSync(display, False);
    trappedError = false;
    XErrorHandler previous = XSetErrorHandler(trapError);
    XWindowAttributes parentInfo{};
    const bool parentOk = XGetWindowAttributes(display, parent, &parentInfo) != 0;
    if (parentOk)
    {
        XSetWindowAttributes attributes{};
        attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                                LeaveWindowMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                                FocusChangeMask;
        // Hosts may make the window larger than the frame; what lies beyond is black.
        attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
        window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                               CopyFromParent, InputOutput, CopyFromParent, CWEventMask | CWBackPixel, &attributes);
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!parentOk || trappedError || window == 0)
    {
        window = 0;
        return false;
    }

    // XEmbed: version 0, mapped.
    const unsigned long embedInfo[2] = {0, kXEmbedMapped};
    const Atom xembedInfo = XInternAtom(display, "_XEMBED_INFO", False);
    XChangeProperty(display, window, xembedInfo, xembedInfo, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(embedInfo), 2);
    XMapWindow(display, window);

    XWindowAttributes info{};
    XGetWindowAttributes(display, window, &info);
    windowSurface = cairo_xlib_surface_create(display, window, info.visual, width, height);
    backBuffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);

    openInputContext();

    loop = LentRunLoops::current();
    eventHandlerRegistered = loop->registerEventHandler(ConnectionNumber(display), this);
    timerRegistered = loop->registerTimer(kRepaintInterval, this);
    XFlush(display);
    return eventHandlerRegistered && timerRegistered;
}

X11Frame::~X11Frame()
{
    closePopup(false);
    if (loop)
    {
        if (eventHandlerRegistered)
            loop->unregisterEventHandler(this);
        if (timerRegistered)
            loop->unregisterTimer(this);
    }
    if (windowSurface)
        cairo_surface_destroy(windowSurface);
    if (backBuffer)
        cairo_surface_destroy(backBuffer);
    if (display)
    {
        giveBackKeyboardFocus();
        if (inputContext)
            XDestroyIC(inputContext);
        if (inputMethod)
            XCloseIM(inputMethod);
        if (window)
            XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
}

void X11Frame::setScaleFactor(double scaleFactor)
{
    if (!(scaleFactor > 0) || scaleFactor == scale)
        return;
    scale = scaleFactor;
    updatePixelSize();
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    cairo_xlib_surface_set_size(windowSurface, width, height);
    cairo_surface_destroy(backBuffer);
    backBuffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    dirtyRects.assign(1, CRect(0, 0, width, height));
    exposedRect = CRect();
    XFlush(display);
}

void X11Frame::updatePixelSize()
{
    const CRect& size = frame->getViewSize();
    width = static_cast<int>(std::lround(size.getWidth() * scale));
    height = static_cast<int>(std::lround(size.getHeight() * scale));
}

double X11Frame::getSystemScaleFactor() const
{
    const char* resources = display ? XResourceManagerString(display) : nullptr;
    if (!resources)
        return 1.;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    double dpi = 0;
    char* type = nullptr;
    XrmValue value{};
    if (database && XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
        dpi = std::strtod(value.addr, nullptr);
    if (database)
        XrmDestroyDatabase(database);
    // 96 dpi is the desktop's normal density; absurd values are ignored.
    return dpi >= 48 && dpi <= 960 ? dpi / kNormalDpi : 1.;
}

void X11Frame::invalidRect(const CRect& rect)
{
    // Whole window pixels that cover the units.
    CRect r = rect;
    r.scale(scale).makeIntegral();
    r.bound(CRect(0, 0, width, height));
    if (r.isEmpty())
        return;
    for (CRect& dirty : dirtyRects)
    {
        if (dirty.rectOverlap(r))
        {
            dirty.unite(r);
            return;
        }
    }
    if (dirtyRects.size() >= kMaxDirtyRects)
    {
        for (const CRect& dirty : dirtyRects)
            r.unite(dirty);
        dirtyRects.clear();
    }
    dirtyRects.push_back(r);
}

bool X11Frame::getGlobalPosition(CPoint& position) const
{
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return false;
    position = CPoint(x, y);
    return true;
}

bool X11Frame::showPopupMenu(const PopupMenuDescription& menu)
{
    closePopup(false);
    CPoint origin;
    if (menu.entries.empty() || !getGlobalPosition(origin))
        return false;
    popupDescription = menu;
    popup = std::make_unique<X11PopupMenu>(display, menu, static_cast<int>(origin.x + menu.anchor.left * scale),
                                           static_cast<int>(origin.y + menu.anchor.bottom * scale),
                                           static_cast<int>(menu.anchor.getHeight() * scale), scale);
    return true;
}

void X11Frame::closePopup(bool deliver)
{
    if (!popup)
        return;
    const int32 result = popup->getResult();
    popup.reset();
    auto onSelect = std::move(popupDescription.onSelect);
    popupDescription = PopupMenuDescription();
    if (deliver && result >= 0 && onSelect)
        onSelect(result);
}

void X11Frame::onEvent()
{
    processEvents();
    paint();
}

void X11Frame::onTimer()
{
    // Events read into Xlib's queue by other calls never wake the descriptor.
    processEvents();
    paint();
}

void X11Frame::processEvents()
{
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        // Only the latest of consecutive motions matters.
        if (event.type == MotionNotify)
        {
            XEvent next;
            while (XPending(display) > 0)
            {
                XPeekEvent(display, &next);
                if (next.type != MotionNotify || next.xany.window != event.xany.window)
                    break;
                XNextEvent(display, &event);
            }
        }
        handleEvent(event);
    }
}

int32 X11Frame::buttonsFromState(unsigned int state) const
{
    int32 buttons = 0;
    if (state & Button1Mask)
        buttons |= kLButton;
    if (state & Button2Mask)
        buttons |= kMButton;
    if (state & Button3Mask)
        buttons |= kRButton;
    if (state & ShiftMask)
        buttons |= kShift;
    if (state & ControlMask)
        buttons |= kControl;
    if (state & Mod1Mask)
        buttons |= kAlt;
    return buttons;
}

void X11Frame::openInputContext()
{
    // The input method turns key presses into text (dead keys, compose); without
    // one the key symbols still give the characters of most layouts.
    inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
    if (!inputMethod)
        return;
    inputContext = XCreateIC(inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                             XNFocusWindow, window, nullptr);
}

bool X11Frame::setInputFocus(Window focus, int revertTo)
{
    // A window that went away meanwhile must not end the host with an X error.
    XSync(display, False);
    trappedError = false;
    XErrorHandler previous = XSetErrorHandler(trapError);
    XSetInputFocus(display, focus, revertTo, CurrentTime);
    XSync(display, False);
    XSetErrorHandler(previous);
    return !trappedError;
}

void X11Frame::takeKeyboardFocus()
{
    XWindowAttributes info{};
    if (keyboardFocusTaken || !XGetWindowAttributes(display, window, &info) || info.map_state != IsViewable)
        return;
    Window current = 0;
    int revertTo = RevertToParent;
    XGetInputFocus(display, &current, &revertTo);
    const unsigned long serial = NextRequest(display);
    if (current == window || !setInputFocus(window, RevertToParent))
        return;
    focusTakenSerial = serial;
    previousFocus = current;
    previousRevertTo = revertTo;
    keyboardFocusTaken = true;
    if (inputContext)
        XSetICFocus(inputContext);
}

bool X11Frame::forgetKeyboardFocus()
{
    if (!keyboardFocusTaken)
        return false;
    keyboardFocusTaken = false;
    if (inputContext)
        XUnsetICFocus(inputContext);
    return true;
}

void X11Frame::giveBackKeyboardFocus()
{
    if (!forgetKeyboardFocus())
        return;
    Window current = 0;
    int revertTo = 0;
    XGetInputFocus(display, &current, &revertTo);
    // Whoever took the focus from the editor meanwhile keeps it.
    if (current == window)
        setInputFocus(previousFocus, previousRevertTo);
}

void X11Frame::handleEvent(XEvent& event)
{
    if (popup)
    {
        // While the list is open every pointer and key event belongs to it;
        // a press on the editor dismisses it.
        const bool pointerOrKey = event.type == ButtonPress || event.type == ButtonRelease ||
                                  event.type == MotionNotify || event.type == KeyPress;
        if (event.xany.window == popup->getWindow() || (pointerOrKey && event.xany.window == window))
        {
            if (event.xany.window == popup->getWindow())
                popup->handleEvent(event);
            else if (event.type == ButtonPress && event.xbutton.button <= Button3)
                popup->handleEvent(event);
            if (popup->isDone())
                closePopup(true);
            return;
        }
    }
    if (event.xany.window != window)
        return;

    switch (event.type)
    {
    case Expose:
        exposedRect.unite(CRect(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                event.xexpose.y + event.xexpose.height));
        break;
    case ButtonPress:
    {
        CPoint where = toFrame(event.xbutton.x, event.xbutton.y);
        const unsigned int button = event.xbutton.button;
        const int32 modifiers = buttonsFromState(event.xbutton.state) & (kShift | kControl | kAlt);
        if (button == Button4 || button == Button5)
        {
            frame->platformOnMouseWheel(where, button == Button4 ? 1.f : -1.f, CButtonState(modifiers));
            break;
        }
        if (button > Button3)
            break;
        int32 buttons = modifiers | (button == Button1 ? kLButton : button == Button2 ? kMButton : kRButton);
        const bool quick = event.xbutton.time - lastClickTime <= kDoubleClickTime;
        const bool near = std::abs(where.x - lastClickPosition.x) <= kDoubleClickSlop &&
                          std::abs(where.y - lastClickPosition.y) <= kDoubleClickSlop;
        if (quick && near && button == lastClickButton)
        {
            buttons |= kDoubleClick;
            lastClickTime = 0;
        }
        else
        {
            lastClickTime = event.xbutton.time;
        }
        lastClickPosition = where;
        lastClickButton = button;
        frame->platformOnMouseDown(where, CButtonState(buttons));
        break;
    }
    case ButtonRelease:
    {
        if (event.xbutton.button > Button3)
            break;
        CPoint where = toFrame(event.xbutton.x, event.xbutton.y);
        // The state still holds the released button, as the view expects.
        frame->platformOnMouseUp(where, CButtonState(buttonsFromState(event.xbutton.state)));
        break;
    }
    case MotionNotify:
    {
        CPoint where = toFrame(event.xmotion.x, event.xmotion.y);
        frame->platformOnMouseMoved(where, CButtonState(buttonsFromState(event.xmotion.state)));
        break;
    }
    case LeaveNotify: frame->platformOnMouseExited(); break;
    case FocusOut:
        // Only a real move of the keyboard to another window, after we took it:
        // not one that our own giving back caused earlier, nor a grab, nor the
        // pointer leaving while the keyboard follows the pointer.
        if (event.xfocus.serial >= focusTakenSerial && event.xfocus.mode != NotifyGrab &&
            event.xfocus.mode != NotifyUngrab && event.xfocus.detail != NotifyInferior &&
            event.xfocus.detail != NotifyPointer && forgetKeyboardFocus())
            frame->platformOnKeyboardFocusLost();
        break;
    case KeyPress:
    case KeyRelease:
    {
        // The input method may take the event as part of a composed character.
        if (inputContext && XFilterEvent(&event, window))
            break;
        VstKeyCode code = keyCodeOf(event.xkey, inputContext, event.type == KeyPress);
        if (code.virt == 0 && code.character == 0)
            break;
        if (event.type == KeyPress)
            frame->platformOnKeyDown(code);
        else
            frame->platformOnKeyUp(code);
        break;
    }
    default: break;
    }
}

void X11Frame::paint()
{
    if (dirtyRects.empty() && exposedRect.isEmpty())
        return;
    std::vector<CRect> rects;
    rects.swap(dirtyRects);

    if (!rects.empty())
    {
        cairo_t* cr = cairo_create(backBuffer);
        for (const CRect& pixels : rects)
        {
            cairo_save(cr);
            CairoDrawContext context(cr, scale);
            const CRect r = CRect(pixels).scale(1 / scale);
            context.saveGlobalState();
            context.setClipRect(r);
            context.setFillColor(kBlackCColor);
            context.drawRect(r, kDrawFilled);
            frame->platformDrawRect(&context, r);
            context.restoreGlobalState();
            cairo_restore(cr);
        }
        cairo_destroy(cr);
        cairo_surface_flush(backBuffer);
    }

    cairo_t* cr = cairo_create(windowSurface);
    cairo_set_source_surface(cr, backBuffer, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    for (const CRect& r : rects)
        cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
    if (!exposedRect.isEmpty())
        cairo_rectangle(cr, exposedRect.left, exposedRect.top, exposedRect.getWidth(), exposedRect.getHeight());
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(windowSurface);
    exposedRect = CRect();
    XFlush(display);
}

} // namespace X11
} // namespace VSTGUI
