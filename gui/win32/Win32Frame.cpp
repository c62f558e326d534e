#include "gui/win32/Win32Frame.h"

#include "gui/CFrame.h"
#include "gui/win32/D2DDrawContext.h"
#include "gui/win32/DWriteFont.h"
#include "gui/win32/Win32Text.h"
#include "gui/win32/Win32Timer.h"

#include <windowsx.h>

#include <cmath>
#include <utility>

namespace VSTGUI {
namespace Win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"VSTGUI.Win32Frame";
constexpr float kWheelNotch = WHEEL_DELTA;

// The class is registered while any frame window exists, so that the module
// can be unloaded without leaving a class behind.
int classUsers = 0;

bool acquireWindowClass()
{
    if (classUsers++ > 0)
        return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = Win32Frame::moduleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
        return true;
    classUsers = 0;
    return false;
}

void releaseWindowClass()
{
    if (classUsers > 0 && --classUsers == 0)
        UnregisterClassW(kWindowClass, Win32Frame::moduleInstance());
}

int32 buttonsOf(WPARAM wParam)
{
    int32 state = 0;
    if (wParam & MK_LBUTTON)
        state |= kLButton;
    if (wParam & MK_MBUTTON)
        state |= kMButton;
    if (wParam & MK_RBUTTON)
        state |= kRButton;
    if (wParam & MK_SHIFT)
        state |= kShift;
    if (wParam & MK_CONTROL)
        state |= kControl;
    if (GetKeyState(VK_MENU) < 0)
        state |= kAlt;
    return state;
}

uint8_t keyModifiers()
{
    uint8_t modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        modifiers |= MODIFIER_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        modifiers |= MODIFIER_CONTROL;
    if (GetKeyState(VK_MENU) < 0)
        modifiers |= MODIFIER_ALTERNATE;
    return modifiers;
}

// Keys without a character; the others arrive as WM_CHAR.
uint8_t virtualKeyOf(WPARAM key)
{
    switch (key)
    {
    case VK_BACK: return VKEY_BACK;
    case VK_TAB: return VKEY_TAB;
    case VK_RETURN: return VKEY_RETURN;
    case VK_ESCAPE: return VKEY_ESCAPE;
    case VK_HOME: return VKEY_HOME;
    case VK_END: return VKEY_END;
    case VK_LEFT: return VKEY_LEFT;
    case VK_UP: return VKEY_UP;
    case VK_RIGHT: return VKEY_RIGHT;
    case VK_DOWN: return VKEY_DOWN;
    case VK_PRIOR: return VKEY_PAGEUP;
    case VK_NEXT: return VKEY_PAGEDOWN;
    case VK_INSERT: return VKEY_INSERT;
    case VK_DELETE: return VKEY_DELETE;
    default: return 0;
    }
}

constexpr double kNormalDpi = 96.;

// Looked up at run time: systems before Windows 10 1607 lack it.
UINT dpiForWindow(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return getDpiForWindow && window ? getDpiForWindow(window) : 0;
}

} // namespace

HINSTANCE Win32Frame::moduleInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Win32Frame::moduleInstance), &module);
    return module;
}

std::unique_ptr<Win32Frame> Win32Frame::create(CFrame* frame, HWND parent)
{
    if (!frame || !parent || !IsWindow(parent))
        return nullptr;
    std::unique_ptr<Win32Frame> platform(new Win32Frame(frame));
    if (!platform->init(parent))
        return nullptr;
    return platform;
}

Win32Frame::Win32Frame(CFrame* frame) : frame(frame) {}

bool Win32Frame::init(HWND parent)
{
    if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                 reinterpret_cast<void**>(factory.put()))) ||
        FAILED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                   reinterpret_cast<IUnknown**>(writeFactory.put()))))
        return false;
    const D2D1_RENDER_TARGET_PROPERTIES properties =
        D2D1::RenderTargetProperties(D2D1_RENDER_TARGET_TYPE_DEFAULT,
                                     D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE), 96.f, 96.f);
    if (FAILED(factory->CreateDCRenderTarget(&properties, target.put())))
        return false;
    fonts = std::make_unique<DWriteFontCache>(writeFactory.get());
    if (!acquireWindowClass())
        return false;
    scale = frame->getScaleFactor();
    const SIZE size = pixelSize();
    window = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                             size.cx, size.cy, parent, nullptr, moduleInstance(), nullptr);
    if (!window)
    {
        releaseWindowClass();
        return false;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Frame::windowProc));
    TimerWindows::lend(window);
    return true;
}

Win32Frame::~Win32Frame()
{
    if (!window)
        return;
    TimerWindows::giveBack(window);
    giveBackKeyboardFocus();
    if (GetCapture() == window)
        ReleaseCapture();
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    releaseWindowClass();
}

SIZE Win32Frame::pixelSize() const
{
    const CRect& size = frame->getViewSize();
    return {static_cast<LONG>(std::lround(size.getWidth() * scale)),
            static_cast<LONG>(std::lround(size.getHeight() * scale))};
}

CPoint Win32Frame::toFrame(LPARAM lParam) const
{
    return CPoint(GET_X_LPARAM(lParam) / scale, GET_Y_LPARAM(lParam) / scale);
}

void Win32Frame::setScaleFactor(double scaleFactor)
{
    if (!(scaleFactor > 0) || scaleFactor == scale)
        return;
    scale = scaleFactor;
    const SIZE size = pixelSize();
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
}

double Win32Frame::getSystemScaleFactor() const
{
    const UINT dpi = dpiForWindow(window);
    return dpi > 0 ? dpi / kNormalDpi : 1.;
}

void Win32Frame::invalidRect(const CRect& rect)
{
    // Whole window pixels that cover the units.
    CRect r = rect;
    r.scale(scale).makeIntegral();
    const RECT area = {static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right),
                       static_cast<LONG>(r.bottom)};
    InvalidateRect(window, &area, FALSE);
}

bool Win32Frame::getGlobalPosition(CPoint& position) const
{
    POINT origin = {0, 0};
    if (!ClientToScreen(window, &origin))
        return false;
    position = CPoint(origin.x, origin.y);
    return true;
}

bool Win32Frame::showPopupMenu(const PopupMenuDescription& menu)
{
    CPoint origin;
    if (menu.entries.empty() || !getGlobalPosition(origin))
        return false;
    HMENU popup = CreatePopupMenu();
    if (!popup)
        return false;
    for (size_t i = 0; i < menu.entries.size(); ++i)
    {
        const UINT flags = MF_STRING | (static_cast<int32>(i) == menu.checkedIndex ? MF_CHECKED : MF_UNCHECKED);
        // Command 0 is "dismissed": entries count from 1.
        AppendMenuW(popup, flags, i + 1, toWide(menu.entries[i]).c_str());
    }
    // Runs its own message loop until an entry is picked or the list is dismissed.
    const int picked =
        static_cast<int>(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                        static_cast<int>(origin.x + menu.anchor.left * scale),
                                        static_cast<int>(origin.y + menu.anchor.bottom * scale), 0, window, nullptr));
    DestroyMenu(popup);
    if (picked > 0 && menu.onSelect)
        menu.onSelect(picked - 1);
    return true;
}

LRESULT CALLBACK Win32Frame::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Win32Frame*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Frame::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT: paint(); return 0;
    case WM_KILLFOCUS:
        // Another window took the keyboard while a view wanted it.
        if (std::exchange(keyboardFocusTaken, false))
            frame->platformOnKeyboardFocusLost();
        break;
    case WM_PRINTCLIENT:
    {
        // PrintWindow and hosts' thumbnails: the whole picture into their DC.
        RECT client;
        GetClientRect(window, &client);
        draw(reinterpret_cast<HDC>(wParam), CRect(0, 0, client.right, client.bottom));
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: mouseDown(kLButton, wParam, lParam, false); return 0;
    case WM_LBUTTONDBLCLK: mouseDown(kLButton, wParam, lParam, true); return 0;
    case WM_MBUTTONDOWN: mouseDown(kMButton, wParam, lParam, false); return 0;
    case WM_MBUTTONDBLCLK: mouseDown(kMButton, wParam, lParam, true); return 0;
    case WM_RBUTTONDOWN: mouseDown(kRButton, wParam, lParam, false); return 0;
    case WM_RBUTTONDBLCLK: mouseDown(kRButton, wParam, lParam, true); return 0;
    case WM_LBUTTONUP: mouseUp(kLButton, wParam, lParam); return 0;
    case WM_MBUTTONUP: mouseUp(kMButton, wParam, lParam); return 0;
    case WM_RBUTTONUP: mouseUp(kRButton, wParam, lParam); return 0;
    case WM_DPICHANGED:
    case WM_DPICHANGED_AFTERPARENT: frame->platformOnSystemScaleChanged(getSystemScaleFactor()); break;
    case WM_MOUSEMOVE:
    {
        trackMouseLeave();
        CPoint where = toFrame(lParam);
        frame->platformOnMouseMoved(where, CButtonState(buttonsOf(wParam)));
        return 0;
    }
    case WM_MOUSEWHEEL:
    {
        // Wheel positions come in screen coordinates.
        POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window, &screen);
        const float distance = GET_WHEEL_DELTA_WPARAM(wParam) / kWheelNotch;
        const int32 keys = buttonsOf(GET_KEYSTATE_WPARAM(wParam)) & (kShift | kControl | kAlt);
        if (frame->platformOnMouseWheel(CPoint(screen.x / scale, screen.y / scale), distance, CButtonState(keys)))
            return 0;
        break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (key(message, wParam))
            return 0;
        break;
    case WM_MOUSELEAVE:
        mouseLeaveTracked = false;
        frame->platformOnMouseExited();
        return 0;
    case WM_CHAR:
        if (character(wParam))
            return 0;
        break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Frame::mouseDown(int32 button, WPARAM wParam, LPARAM lParam, bool doubleClick)
{
    SetCapture(window);
    CPoint where = toFrame(lParam);
    int32 buttons = buttonsOf(wParam) | button;
    if (doubleClick)
        buttons |= kDoubleClick;
    frame->platformOnMouseDown(where, CButtonState(buttons));
}

void Win32Frame::mouseUp(int32 button, WPARAM wParam, LPARAM lParam)
{
    CPoint where = toFrame(lParam);
    // The state still holds the released button, as the view expects.
    frame->platformOnMouseUp(where, CButtonState(buttonsOf(wParam) | button));
    if (!(wParam & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) && GetCapture() == window)
        ReleaseCapture();
}

// Windows reports the mouse leaving only when asked, once per request.
void Win32Frame::trackMouseLeave()
{
    if (mouseLeaveTracked)
        return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    mouseLeaveTracked = TrackMouseEvent(&track) != FALSE;
}

bool Win32Frame::key(UINT message, WPARAM wParam)
{
    VstKeyCode code;
    code.virt = virtualKeyOf(wParam);
    code.modifier = keyModifiers();
    if (code.virt == 0)
        return false;
    return message == WM_KEYDOWN ? frame->platformOnKeyDown(code) : frame->platformOnKeyUp(code);
}

bool Win32Frame::character(WPARAM wParam)
{
    const auto unit = static_cast<wchar_t>(wParam);
    if (unit >= 0xd800 && unit <= 0xdbff)
    {
        highSurrogate = unit;
        return true;
    }
    int32 codePoint = unit;
    if (unit >= 0xdc00 && unit <= 0xdfff)
    {
        if (!highSurrogate)
            return false;
        codePoint = 0x10000 + ((highSurrogate - 0xd800) << 10) + (unit - 0xdc00);
    }
    highSurrogate = 0;
    // Backspace, Return, Escape and Tab came as WM_KEYDOWN already.
    if (codePoint < 0x20 || codePoint == 0x7f)
        return false;
    VstKeyCode code;
    code.character = codePoint;
    code.modifier = keyModifiers();
    return frame->platformOnKeyDown(code);
}

void Win32Frame::takeKeyboardFocus()
{
    if (keyboardFocusTaken)
        return;
    const HWND previous = SetFocus(window);
    if (previous == window)
        return;
    previousFocus = previous;
    keyboardFocusTaken = true;
}

void Win32Frame::giveBackKeyboardFocus()
{
    if (!keyboardFocusTaken)
        return;
    keyboardFocusTaken = false;
    // Whoever took the focus from the editor meanwhile keeps it.
    if (GetFocus() == window)
        SetFocus(previousFocus && IsWindow(previousFocus) ? previousFocus : GetParent(window));
}

void Win32Frame::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc)
        return;
    draw(dc, CRect(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom));
    EndPaint(window, &ps);
}

void Win32Frame::draw(HDC dc, const CRect& dirty)
{
    RECT client;
    GetClientRect(window, &client);
    if (dirty.isEmpty() || FAILED(target->BindDC(dc, &client)))
        return;
    target->BeginDraw();
    {
        D2DDrawContext context(target.get(), *fonts, scale);
        const CRect r = CRect(dirty).scale(1 / scale);
        context.saveGlobalState();
        context.setClipRect(r);
        context.setFillColor(kBlackCColor);
        context.drawRect(r, kDrawFilled);
        frame->platformDrawRect(&context, r);
        context.restoreGlobalState();
    }
    target->EndDraw();
}

} // namespace Win32

std::unique_ptr<IPlatformFrame> IPlatformFrame::create(CFrame* frame, void* parent)
{
    return Win32::Win32Frame::create(frame, static_cast<HWND>(parent));
}

} // namespace VSTGUI
