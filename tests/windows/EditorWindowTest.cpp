// The editor of the real DLL as a Windows host shows it: createView("editor")
// attached to a host window (kPlatformTypeHWND), mouse messages to the child
// window it makes, its timers on the host's message loop, and its picture,
// printed through WM_PRINTCLIENT, against the Linux build's picture.

#include "tests/windows/WindowsPicture.h"

#include "params/ParamId.h"
#include "sdk/hosting/ComponentHandler.h"
#include "tests/support/KalviorBundle.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using Steinberg::Hosting::EditEvent;

namespace {

constexpr int kWidth = 375;
constexpr int kHeight = 495;
constexpr DWORD kFadeMilliseconds = 240; // the about box's fade, each way

// Runs the host's message loop (timers, paints) for a while; counts the timer
// messages that arrive for `window` (any window when null).
int pumpMessages(DWORD milliseconds, HWND window = nullptr)
{
    int timerMessages = 0;
    const DWORD start = GetTickCount();
    do
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_TIMER && (!window || message.hwnd == window))
                ++timerMessages;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
    return timerMessages;
}

BOOL CALLBACK countWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Top-level windows this thread owns, the host's own included.
int threadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

class EditorOnWindows : public KalviorTest::PluginTest
{
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        ASSERT_TRUE(controller());
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KalviorTestHost";
        RegisterClassW(&windowClass);
        host = CreateWindowExW(0, L"KalviorTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, kWidth + 40,
                               kHeight + 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, host);
    }

    void TearDown() override
    {
        if (view)
            closeEditor();
        if (host)
            DestroyWindow(host);
        pumpMessages(10);
        PluginTest::TearDown();
    }

    // createView, the content scale when one is given, and attached as a host
    // does; the editor's window is the host's child.
    void openEditor(int contentScale = 0)
    {
        view = controller()->createView(ViewType::kEditor);
        ASSERT_NE(nullptr, view);
        if (contentScale > 0)
        {
            IPtr<IPlugViewContentScaleSupport> scaling = KalviorTest::query<IPlugViewContentScaleSupport>(view);
            ASSERT_TRUE(scaling);
            ASSERT_EQ(kResultTrue, scaling->setContentScaleFactor(static_cast<float>(contentScale)));
        }
        ASSERT_EQ(kResultTrue, view->isPlatformTypeSupported(kPlatformTypeHWND));
        ASSERT_EQ(kResultOk, view->attached(host, kPlatformTypeHWND));
        window = GetWindow(host, GW_CHILD);
        ASSERT_NE(nullptr, window);
    }

    void closeEditor()
    {
        view->removed();
        view->release();
        view = nullptr;
        window = nullptr;
    }

    int childWindows() const
    {
        int count = 0;
        EnumChildWindows(host, countWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    }

    void click(int x, int y)
    {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    // A vertical drag in steps of 5 pixels (up when dy < 0).
    void drag(int x, int y, int dy)
    {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        const int steps = std::abs(dy) / 5;
        for (int step = 1; step <= steps; ++step)
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + dy * step / steps));
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y + dy));
    }

    // Wheel notches (away from the user when positive); the position is on the screen.
    void wheel(int x, int y, int notches)
    {
        POINT screen = {x, y};
        ClientToScreen(window, &screen);
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    }

    WindowsPicture::Image picture() const { return WindowsPicture::print(window, kWidth, kHeight); }

    HWND host = nullptr;
    HWND window = nullptr;
    IPlugView* view = nullptr;
};

// At the host's content scale (1 or 2) the editor is a child window of the
// scaled size; at 2 it draws the 2x skin pixel for pixel where no control lies
// (the maker's mark at the bottom left, 120 x 60 units at (0, 425)).
TEST_F(EditorOnWindows, OpensAsAChildWindowOfTheHostsWindowAtTheContentScale)
{
    for (const int scale : {1, 2})
    {
        SCOPED_TRACE(scale);
        openEditor(scale);
        EXPECT_EQ(kResultFalse, view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID));
        ViewRect size;
        ASSERT_EQ(kResultOk, view->getSize(&size));
        EXPECT_EQ(kWidth * scale, size.getWidth());
        EXPECT_EQ(kHeight * scale, size.getHeight());
        EXPECT_EQ(host, GetParent(window));
        EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD);
        EXPECT_TRUE(IsWindowVisible(window));
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(kWidth * scale, client.right);
        EXPECT_EQ(kHeight * scale, client.bottom);
        EXPECT_EQ(1, childWindows());
        // The window belongs to the plug-in's module, on the host's UI thread.
        EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                  GetModuleHandleW(L"Kalvior.vst3"));
        EXPECT_EQ(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr));
        EXPECT_GT(pumpMessages(200, window), 0) << "the editor's timers run on the host's message loop";
        if (scale == 2) // at 1 the picture is compared with the Linux one below
        {
            const WindowsPicture::Image shown = WindowsPicture::print(window, kWidth * scale, kHeight * scale);
            const WindowsPicture::Image skin = WindowsPicture::loadPng(KALVIOR_SKIN_2X);
            ASSERT_EQ(2 * kWidth, skin.width) << KALVIOR_SKIN_2X;
            EXPECT_EQ(0u, skin.differingPixels(shown, 240, 120, 0, 850));
        }
        closeEditor();
    }
}

// Mouse gestures on knobs: a vertical drag covers the range in 200 pixels,
// a wheel notch is 0.1. Each is one begin/perform.../end gesture of the
// knob's parameter on the host's component handler, and the knob redraws.
TEST_F(EditorOnWindows, KnobGesturesBecomeEditsOnTheComponentHandler)
{
    struct Case
    {
        const char* what;
        ParamID id;
        POINT origin;
        double start;
        int dy;      // a drag when not 0
        int notches; // else wheel notches
        double expected;
    };
    const Case cases[] = {
        {"drag up 40", kLeftGain, {65, 140}, 0.5, -40, 0, 0.7},
        {"drag down 30", kAsymmCrush, {110, 255}, 0.5, 30, 0, 0.35},
        {"wheel away", kLeftGain, {65, 140}, 0.4, 0, 1, 0.5},
        {"wheel towards", kBalance, {20, 255}, 0.4, 0, -1, 0.3},
    };
    openEditor();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        controller()->setParamNormalized(c.id, c.start);
        pumpMessages(50);
        const WindowsPicture::Image before = picture();
        handler.clear();
        if (c.dy)
            drag(c.origin.x + 18, c.origin.y + 18, c.dy);
        else
            wheel(c.origin.x + 18, c.origin.y + 18, c.notches);
        EXPECT_NE(window, GetCapture()) << "the mouse is let go with the button";

        const std::vector<EditEvent> events = handler.events();
        ASSERT_GE(events.size(), 3u);
        EXPECT_EQ(EditEvent::kBegin, events.front().kind);
        EXPECT_EQ(EditEvent::kEnd, events.back().kind);
        double last = -1;
        for (const EditEvent& event : events)
        {
            EXPECT_EQ(c.id, event.id);
            if (event.kind == EditEvent::kPerform)
                last = event.value;
        }
        EXPECT_NEAR(c.expected, last, 1e-5);
        EXPECT_NEAR(c.expected, controller()->getParamNormalized(c.id), 1e-5);
        pumpMessages(50);
        EXPECT_GT(before.differingPixels(picture(), 36, 36, c.origin.x, c.origin.y), 20u) << "the knob turned";
    }
}

TEST_F(EditorOnWindows, TheAboutBoxOpensOverTheEditorAndClosesAgain)
{
    openEditor();
    pumpMessages(50);
    const WindowsPicture::Image editor = picture();
    click(285 + 40, 450 + 10); // About
    pumpMessages(2 * kFadeMilliseconds);
    const WindowsPicture::Image about = picture();
    EXPECT_GT(editor.differingPixels(about), static_cast<size_t>(kWidth * kHeight / 2))
        << "the box covers most of the editor";
    EXPECT_TRUE(handler.events().empty()) << "the click on About edits nothing";

    click(10 + 20 + 210 + 40, 10 + 15 + 395 + 10); // Close
    pumpMessages(2 * kFadeMilliseconds);
    EXPECT_EQ(0u, editor.differingPixels(picture())) << "the editor as it was";
    EXPECT_EQ(1, childWindows()) << "the box is a view of the editor, not a window";
}

TEST_F(EditorOnWindows, FiftyOpenCloseCyclesLeaveNoWindowsTimersOrGuiObjects)
{
    // One cycle first: what stays for the process (fonts, factories) is not a leak.
    openEditor();
    pumpMessages(20);
    closeEditor();
    pumpMessages(20);
    const int windowsBefore = threadWindows();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int cycle = 0; cycle < 50; ++cycle)
    {
        openEditor();
        if (cycle % 10 == 0)
        {
            click(285 + 40, 450 + 10); // the about box's fade runs timers of its own
            UpdateWindow(window);
        }
        pumpMessages(2);
        EXPECT_EQ(1, childWindows()) << cycle;
        closeEditor();
        EXPECT_EQ(0, childWindows()) << cycle;
        EXPECT_EQ(windowsBefore, threadWindows()) << cycle;
    }
    EXPECT_EQ(0, pumpMessages(100)) << "a timer outlived its editor";
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
    std::printf("GDI objects %lu, user objects %lu after 50 cycles\n",
                static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)));
}

// The same description and bitmaps drawn by Direct2D here and by cairo in the
// Linux editor's window: the bitmaps are placed pixel for pixel, text comes
// from another rasteriser.
TEST_F(EditorOnWindows, DrawsTheEditorAsTheLinuxBuildDoes)
{
    const WindowsPicture::Image expected = WindowsPicture::loadPng(KALVIOR_EDITOR_REFERENCE);
    ASSERT_EQ(kWidth, expected.width) << KALVIOR_EDITOR_REFERENCE;
    ASSERT_EQ(kHeight, expected.height);

    openEditor();
    pumpMessages(50);
    const WindowsPicture::Image drawn = picture();
    ASSERT_EQ(kWidth, drawn.width);
    const WindowsPicture::Comparison comparison = drawn.compare(expected);
    std::printf("against the Linux picture: largest channel difference %d, mean %.3f, pixels differing %.3f %%, "
                "by more than 64: %.3f %%\n",
                comparison.largest, comparison.mean, 100. * comparison.differingShare, 100. * comparison.farShare);
    // Measured under Wine: mean 0.67, 1.1 % of the pixels differ, 0.34 % by
    // more than 64: text, which another rasteriser draws.
    EXPECT_LT(comparison.mean, 1.5);
    EXPECT_LT(comparison.differingShare, 0.025);
    EXPECT_LT(comparison.farShare, 0.008);
    EXPECT_EQ(expected.at(5, 5), drawn.at(5, 5)) << "the skin's corner";
}

// A double-click on the crossover frequency's display opens a text field;
// characters as WM_CHAR and Return as WM_KEYDOWN set 200 Hz (a third of the
// log range) as one edit, and the field has the keyboard while it is open.
// Another window taking the keyboard cancels the field.
TEST_F(EditorOnWindows, ATypedValueBecomesOneEdit)
{
    openEditor();
    controller()->setParamNormalized(kCrossoverFreq, 0.2);
    pumpMessages(50);
    auto typeIntoTheField = [this](const std::wstring& text, bool keyboardTaken)
    {
        const LPARAM display = MAKELPARAM(76, 413);
        click(76, 413);
        SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, display);
        SendMessageW(window, WM_LBUTTONUP, 0, display);
        EXPECT_EQ(window, GetFocus());
        if (keyboardTaken)
            SetFocus(host);
        for (wchar_t c : text)
            SendMessageW(window, WM_CHAR, c, 0);
        SendMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    };
    handler.clear();
    typeIntoTheField(L"800", true);
    EXPECT_EQ(host, GetFocus()) << "the keyboard stays where it was taken";
    EXPECT_TRUE(handler.events().empty());

    const HWND focusBefore = GetFocus();
    typeIntoTheField(L"200", false);
    EXPECT_EQ(focusBefore, GetFocus()) << "the keyboard goes back";
    const std::vector<EditEvent> events = handler.events();
    ASSERT_EQ(3u, events.size());
    EXPECT_EQ(EditEvent::kBegin, events[0].kind);
    EXPECT_EQ(EditEvent::kPerform, events[1].kind);
    EXPECT_EQ(EditEvent::kEnd, events[2].kind);
    EXPECT_NEAR(1.0 / 3, events[1].value, 1e-6);
    EXPECT_NEAR(1.0 / 3, controller()->getParamNormalized(kCrossoverFreq), 1e-6);
}

} // namespace

int main(int argc, char** argv)
{
    // A host's UI thread is a single-threaded apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
