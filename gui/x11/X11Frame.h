#pragma once

#include "gui/IPlatformFrame.h"
#include "gui/x11/LentRunLoops.h"

#include <X11/Xlib.h>
#include <cairo.h>

#include <memory>
#include <vector>

namespace VSTGUI {

class CFrame;

namespace X11 {

class X11PopupMenu;

// A frame's X11 window embedded in a host window. It has its own X
// connection, whose file descriptor and a repaint timer it registers with the
// run loop in use; drawing goes to a back buffer from which changed areas are
// copied to the window.
class X11Frame : public IPlatformFrame, private IEventHandler, private ITimerHandler
{
public:
    // Null when there is no run loop, no display or the parent is not a window.
    static std::unique_ptr<X11Frame> create(CFrame* frame, unsigned long parentWindow);
    ~X11Frame() override;
    X11Frame(const X11Frame&) = delete;
    X11Frame& operator=(const X11Frame&) = delete;

    void invalidRect(const CRect& rect) override;
    bool getGlobalPosition(CPoint& position) const override;
    bool showPopupMenu(const PopupMenuDescription& menu) override;
    void takeKeyboardFocus() override;
    void giveBackKeyboardFocus() override;
    void setScaleFactor(double scaleFactor) override;
    // The X resource Xft.dpi over 96, as read when the connection opened.
    double getSystemScaleFactor() const override;

    Window getWindow() const { return window; }
    void* getPlatformHandle() const override { return reinterpret_cast<void*>(window); }
    // Draws what is invalid and copies it to the window now.
    void paint();

    static constexpr uint64_t kRepaintInterval = 16; // milliseconds, about 60 Hz

private:
    explicit X11Frame(CFrame* frame);
    bool init(Window parent);
    void onEvent() override;
    void onTimer() override;
    void processEvents();
    void handleEvent(XEvent& event);
    void closePopup(bool deliver);
    int32 buttonsFromState(unsigned int state) const;
    void openInputContext();
    bool setInputFocus(Window focus, int revertTo);
    // No longer holds the keyboard (without moving it); false if it did not.
    bool forgetKeyboardFocus();
    // width and height from the frame's size and the scale.
    void updatePixelSize();
    // Window pixels to frame units.
    CPoint toFrame(int x, int y) const { return CPoint(x / scale, y / scale); }

    CFrame* frame;
    Display* display = nullptr;
    Window window = 0;
    cairo_surface_t* windowSurface = nullptr;
    cairo_surface_t* backBuffer = nullptr;
    int width = 0; // window pixels
    int height = 0;
    double scale = 1.; // window pixels per frame unit
    SharedPointer<IRunLoop> loop;
    bool eventHandlerRegistered = false;
    bool timerRegistered = false;

    std::vector<CRect> dirtyRects; // window pixels that need drawing and copying
    CRect exposedRect;             // window pixels that need copying only

    std::unique_ptr<X11PopupMenu> popup;
    PopupMenuDescription popupDescription;

    XIM inputMethod = nullptr;
    XIC inputContext = nullptr;
    bool keyboardFocusTaken = false;
    unsigned long focusTakenSerial = 0; // of the request that took it
    Window previousFocus = 0;
    int previousRevertTo = 0;

    Time lastClickTime = 0;
    CPoint lastClickPosition;
    unsigned int lastClickButton = 0;
};

} // namespace X11
} // namespace VSTGUI
