#pragma once

#include "gui/IPlatformFrame.h"
#include "gui/VstKeyCode.h"
#include "gui/win32/ComPtr.h"

#include <d2d1.h>
#include <dwrite.h>
#include <windows.h>

#include <memory>

namespace VSTGUI {

class CFrame;

namespace Win32 {

class DWriteFontCache;

// A frame's child window in a host window. It paints with Direct2D through a
// DC render target bound to the paint DC (a window render target on a child
// window is not shown everywhere) or to the DC of WM_PRINTCLIENT, takes the
// mouse while a button is down, and lends itself to timers (TimerWindows)
// while it exists.
class Win32Frame : public IPlatformFrame
{
public:
    // Null when parent is not a window or the window cannot be made.
    static std::unique_ptr<Win32Frame> create(CFrame* frame, HWND parent);
    ~Win32Frame() override;
    Win32Frame(const Win32Frame&) = delete;
    Win32Frame& operator=(const Win32Frame&) = delete;

    void invalidRect(const CRect& rect) override;
    bool getGlobalPosition(CPoint& position) const override;
    bool showPopupMenu(const PopupMenuDescription& menu) override;
    void setScaleFactor(double scaleFactor) override;
    // The window's monitor DPI over 96, where the system can tell it.
    double getSystemScaleFactor() const override;
    void* getPlatformHandle() const override { return window; }
    void takeKeyboardFocus() override;
    void giveBackKeyboardFocus() override;

    HWND getWindow() const { return window; }
    // The instance handle of the module that holds this code.
    static HINSTANCE moduleInstance();

private:
    explicit Win32Frame(CFrame* frame);
    bool init(HWND parent);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    // The dirty part of the picture into a DC (a paint DC, or one given to print into).
    void draw(HDC dc, const CRect& dirty);
    void mouseDown(int32 button, WPARAM wParam, LPARAM lParam, bool doubleClick);
    void mouseUp(int32 button, WPARAM wParam, LPARAM lParam);
    void trackMouseLeave();
    // True when a view took the key.
    bool key(UINT message, WPARAM wParam);
    bool character(WPARAM wParam);
    // A mouse message's window pixels in frame units.
    CPoint toFrame(LPARAM lParam) const;
    // The window's size in pixels at the frame's size times scale.
    SIZE pixelSize() const;

    CFrame* frame;
    HWND window = nullptr;
    ComPtr<ID2D1Factory> factory;
    ComPtr<IDWriteFactory> writeFactory;
    ComPtr<ID2D1DCRenderTarget> target;
    std::unique_ptr<DWriteFontCache> fonts;
    HWND previousFocus = nullptr;
    bool keyboardFocusTaken = false;
    bool mouseLeaveTracked = false;
    wchar_t highSurrogate = 0; // the first half of a character that comes in two WM_CHARs
    double scale = 1.; // window pixels per frame unit
};

} // namespace Win32
} // namespace VSTGUI
