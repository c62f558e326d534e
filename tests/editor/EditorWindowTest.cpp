#include "EditorFixture.h"

#include "params/ParamId.h"
#include "sdk/hosting/ComponentHandler.h"
#include "sdk/hosting/PluginInstance.h"
#include "tests/params/TextHelpers.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace EditorTest;
using Steinberg::Hosting::EditEvent;

namespace {

constexpr int kKnobSize = 36;
constexpr int kKnobFrames = 40;

// Straight-alpha source over an opaque background, per channel.
uint32_t over(const uint8_t* source, uint32_t background)
{
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c)
    {
        const int shift = 16 - 8 * c;
        const double b = (background >> shift) & 0xff;
        const double v = source[c] * (source[3] / 255.0) + b * (1 - source[3] / 255.0);
        out |= static_cast<uint32_t>(std::lround(v)) << shift;
    }
    return out;
}

class EditorWindowTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        skin = loadPng(resourcesPath() + "/skin.png");
        gainKnob = loadPng(resourcesPath() + "/gain_knob.png");
        panKnob = loadPng(resourcesPath() + "/pan_knob.png");
        ASSERT_EQ(375, skin.width);
        ASSERT_EQ(1440, gainKnob.height);
        ASSERT_EQ(1440, panKnob.height);
    }

    // The strip frame whose picture over the skin is closest to what the
    // screen shows at the knob, compared over its top `rows` rows.
    int shownKnobFrame(const Image& shot, const RgbaImage& strip, Point origin, int rows = 28) const
    {
        int best = -1;
        double bestError = 1e300;
        for (int frame = 0; frame < kKnobFrames; ++frame)
        {
            double error = 0;
            for (int y = 0; y < rows; ++y)
            {
                for (int x = 0; x < kKnobSize; ++x)
                {
                    const uint32_t expected =
                        over(strip.at(x, frame * kKnobSize + y), pixelOf(skin, origin.x + x, origin.y + y));
                    error += channelDistance(expected, shot.at(origin.x + x, origin.y + y));
                }
            }
            if (error < bestError)
            {
                bestError = error;
                best = frame;
            }
        }
        return best;
    }

    static int frameFor(double normalized) { return static_cast<int>(std::lround(normalized * (kKnobFrames - 1))); }

    // The edits the host saw for one parameter, in order.
    std::vector<EditEvent> editsOf(ParamID id) const
    {
        std::vector<EditEvent> edits;
        for (const EditEvent& e : handler.events())
            if (e.id == id && e.kind != EditEvent::kRestart)
                edits.push_back(e);
        return edits;
    }

    // Every perform lies inside a begin/end pair; returns the last performed value.
    static double checkGesture(const std::vector<EditEvent>& edits)
    {
        EXPECT_GE(edits.size(), 3u);
        if (edits.size() < 3)
            return -1;
        EXPECT_EQ(EditEvent::kBegin, edits.front().kind);
        EXPECT_EQ(EditEvent::kEnd, edits.back().kind);
        for (size_t i = 1; i + 1 < edits.size(); ++i)
            EXPECT_EQ(EditEvent::kPerform, edits[i].kind) << "event " << i;
        return edits[edits.size() - 2].value;
    }

    RgbaImage skin;
    RgbaImage gainKnob;
    RgbaImage panKnob;
};

// Attaching fails cleanly, leaving no window, event handler, timer or X
// connection behind: another platform, no host run loop, a parent window
// that does not exist (whose X error must not end the process). An editor
// already open stays as it is, and the refused one leaves no scope view
// behind that blocks would still be copied into (the address sanitizer
// build would report that).
TEST_F(EditorWindowTest, AttachingRefusesWhatCannotWork)
{
    struct Case
    {
        const char* what;
        FIDString platform;
        bool runLoop;
        uint64_t parentWindow; // 0: the host's window
    };
    const Case cases[] = {{"Windows platform", kPlatformTypeHWND, true, 0},
                          {"no run loop", kPlatformTypeX11EmbedWindowID, false, 0},
                          {"no such window", kPlatformTypeX11EmbedWindowID, true, 0x7ffffff0u}};
    IPlugView* first = openEditor();
    ASSERT_NE(nullptr, first);
    const int descriptors = openDescriptorCount();
    const size_t handlers = runLoop.eventHandlerCount(), timers = runLoop.timerCount();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        IPlugView* view = controller()->createView("editor");
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(kResultTrue, view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID));
        EXPECT_EQ(kResultFalse, view->isPlatformTypeSupported(kPlatformTypeHWND));
        EXPECT_EQ(kResultFalse, view->isPlatformTypeSupported(kPlatformTypeNSView));
        if (c.runLoop)
            view->setFrame(&runLoop);
        const uint64_t target = c.parentWindow ? c.parentWindow : parent;
        EXPECT_NE(kResultOk, view->attached(reinterpret_cast<void*>(target), c.platform));
        EXPECT_EQ(1, childWindowCount());
        EXPECT_EQ(handlers, runLoop.eventHandlerCount());
        EXPECT_EQ(timers, runLoop.timerCount());
        EXPECT_EQ(descriptors, openDescriptorCount()) << "the X connection is closed again";
        view->setFrame(nullptr);
        view->release();
        EXPECT_EQ(kResultOk, sendScope(std::vector<uint8_t>(1024, 0)));
        redrawScope();
    }
    closeEditor(first);
}

TEST_F(EditorWindowTest, OneViewCanBeAttachedAgainAfterItWasRemoved)
{
    IPlugView* view = controller()->createView("editor");
    ASSERT_NE(nullptr, view);
    view->setFrame(&runLoop);
    for (int round = 0; round < 3; ++round)
    {
        ASSERT_EQ(kResultOk, view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID)) << round;
        EXPECT_NE(kResultOk, view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID))
            << "already attached";
        settle();
        EXPECT_EQ(1, childWindowCount());
        EXPECT_EQ(frameFor(controller()->getParamNormalized(kLeftGain)),
                  shownKnobFrame(screenshot(), gainKnob, {65, 140}));
        EXPECT_EQ(kResultOk, view->removed());
        EXPECT_EQ(0, childWindowCount());
        EXPECT_EQ(0u, runLoop.timerCount());
    }
    view->setFrame(nullptr);
    view->release();
}

// Mouse gestures on knobs, as a table: a vertical drag covers the range in
// 200 pixels, Shift divides the speed by the description's zoom factor; the
// wheel steps by 0.1; Control-click resets to the default. Each is one edit
// the host sees, and the knob shows the frame of the new value.
TEST_F(EditorWindowTest, KnobGesturesEditTheParameterAndMoveTheFrame)
{
    struct Case
    {
        const char* what;
        ParamID id;
        Point origin;
        bool panStrip;
        double start;
        int dy;                 // a drag when not 0
        unsigned button;        // else a click of this button
        unsigned long modifier; // key held meanwhile, or 0
        double expected;
    };
    const Case cases[] = {
        {"drag up 40", kBalance, {20, 255}, true, 0.5, -40, 0, 0, 0.7},
        {"drag down 30", kAsymmCrush, {110, 255}, false, 0.5, 30, 0, 0, 0.35},
        {"fine drag, zoom 10", kBalance, {20, 255}, true, 0.5, -60, 0, XK_Shift_L, 0.53},
        {"fine drag, zoom 1.5", kHpGain, {150, 335}, false, 0.5, -45, 0, XK_Shift_L, 0.65},
        {"wheel away", kLeftGain, {65, 140}, false, 0.4, 0, 4, 0, 0.5},
        {"wheel towards", kLeftGain, {65, 140}, false, 0.4, 0, 5, 0, 0.3},
        {"Control-click: the default", kLeftGain, {65, 140}, false, 0.4, 0, 1, XK_Control_L, 0.75},
    };
    IPlugView* view = openEditor();
    ASSERT_NE(nullptr, view);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        controller()->setParamNormalized(c.id, c.start);
        settle();
        handler.clear();
        if (c.modifier)
            holdKey(c.modifier, true);
        if (c.dy)
            drag(c.origin.x + 18, c.origin.y + 18, c.dy);
        else
            click(c.origin.x + 18, c.origin.y + 18, c.button);
        if (c.modifier)
            holdKey(c.modifier, false);
        settle();
        EXPECT_NEAR(c.expected, checkGesture(editsOf(c.id)), 1e-5);
        EXPECT_NEAR(c.expected, controller()->getParamNormalized(c.id), 1e-5);
        EXPECT_EQ(frameFor(c.expected), shownKnobFrame(screenshot(), c.panStrip ? panKnob : gainKnob, c.origin));
    }
    closeEditor(view);
}

// The sanitizer runtimes' count of live heap bytes; 0 without one.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));
size_t liveHeapBytes()
{
    return __sanitizer_get_current_allocated_bytes ? __sanitizer_get_current_allocated_bytes() : 0;
}

// Every window on the server, at any depth.
int serverWindowCount(Display* display, Window from = 0)
{
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, from ? from : DefaultRootWindow(display), &root, &up, &children, &count))
        return 0;
    int total = static_cast<int>(count);
    for (unsigned int i = 0; i < count; ++i)
        total += serverWindowCount(display, children[i]);
    if (children)
        XFree(children);
    return total;
}

// Override-redirect windows on the root other than the host's own.
std::vector<Window> popupWindows(Display* display, Window hostWindow)
{
    std::vector<Window> found;
    Window root = 0, up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &up, &children, &count);
    for (unsigned int i = 0; i < count; ++i)
    {
        XWindowAttributes a{};
        if (children[i] != hostWindow && XGetWindowAttributes(display, children[i], &a) && a.override_redirect &&
            a.map_state == IsViewable)
            found.push_back(children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

TEST_F(EditorWindowTest, AMenuSelectionChangesAListParameter)
{
    IPlugView* view = openEditor();
    ASSERT_NE(nullptr, view);
    const Image before = screenshot();
    ASSERT_EQ(0.0, controller()->getParamNormalized(kInputFormat));

    handler.clear();
    click(40 + 17, 10 + 10); // the Input Format menu
    const std::vector<Window> popups = popupWindows(display, parent);
    ASSERT_EQ(1u, popups.size()) << "a click opens the list";
    XWindowAttributes list{};
    ASSERT_TRUE(XGetWindowAttributes(display, popups[0], &list));
    int listX = 0, listY = 0;
    Window child = 0;
    XTranslateCoordinates(display, popups[0], DefaultRootWindow(display), 0, 0, &listX, &listY, &child);
    EXPECT_EQ(kParentX + 40, listX) << "below the menu";
    EXPECT_EQ(kParentY + 30, listY);
    const int entryHeight = (list.height - 2) / 2; // two entries inside a one-pixel border
    ASSERT_GT(entryHeight, 10);

    // The current entry carries the tick: green pixels in the tick column of row 0 only.
    XImage* picture = XGetImage(display, popups[0], 0, 0, static_cast<unsigned>(list.width),
                                static_cast<unsigned>(list.height), AllPlanes, ZPixmap);
    ASSERT_NE(nullptr, picture);
    auto greenIn = [&](int row)
    {
        int green = 0;
        for (int y = 1 + row * entryHeight; y < 1 + (row + 1) * entryHeight; ++y)
            for (int x = 2; x < 18; ++x)
            {
                const unsigned long p = XGetPixel(picture, x, y);
                const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
                green += g > 150 && g > r + 60 && g > b + 60;
            }
        return green;
    };
    EXPECT_GT(greenIn(0), 5);
    EXPECT_EQ(0, greenIn(1));
    XDestroyImage(picture);

    click(40 + 10, 30 + 1 + entryHeight + entryHeight / 2); // "M/S"
    EXPECT_TRUE(popupWindows(display, parent).empty()) << "the list closes after a pick";
    EXPECT_DOUBLE_EQ(1.0, checkGesture(editsOf(kInputFormat)));
    EXPECT_DOUBLE_EQ(1.0, controller()->getParamNormalized(kInputFormat));

    // The menu now shows the other entry; a click elsewhere dismisses without change.
    const Image after = screenshot();
    int changed = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 40; x < 75; ++x)
            changed += channelDistance(before.at(x, y), after.at(x, y)) > 40;
    EXPECT_GT(changed, 10);
    handler.clear();
    click(125 + 17, 10 + 10); // Output Format
    ASSERT_EQ(1u, popupWindows(display, parent).size());
    click(300, 480); // outside the list
    EXPECT_TRUE(popupWindows(display, parent).empty());
    EXPECT_TRUE(editsOf(kOutputFormat).empty());
    closeEditor(view);
}

// Where the editor shows onePointBlock's point at its own size.
constexpr Point kScopePoint = {180 + 85 - kScopeSide, 55 + 85 - kScopeMid};

// Fifty cycles, each opened at one content scale and changed to another
// while open: the server's windows, the X connections, the run loop's
// handlers and timers, the controller's references and (where a sanitizer
// runtime counts them) the heap's live bytes are as before.
TEST_F(EditorWindowTest, OpeningScalingAndClosingFiftyTimesLeavesNothingBehind)
{
    auto controllerReferences = [this]
    {
        controller()->addRef();
        return controller()->release();
    };
    const double scales[] = {1.0, 1.5, 2.0};
    auto cycle = [&](int i)
    {
        IPlugView* view = openEditor(scales[i % 3]);
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(1, childWindowCount());
        EXPECT_EQ(1u, runLoop.eventHandlerCount()) << "the X connection";
        EXPECT_GE(runLoop.timerCount(), 3u) << "repaint, parameter sync and scope";
        IPtr<IPlugViewContentScaleSupport> scaling = KalviorTest::query<IPlugViewContentScaleSupport>(view);
        ASSERT_TRUE(scaling);
        EXPECT_EQ(kResultTrue, scaling->setContentScaleFactor(static_cast<float>(scales[(i + 1) % 3])));
        runLoop.pumpEvents();
        runLoop.fireTimers(100);
        runLoop.fireTimers(16);
        closeEditor(view);
        EXPECT_EQ(0, childWindowCount()) << "cycle " << i;
        EXPECT_EQ(0u, runLoop.eventHandlerCount()) << "cycle " << i;
        EXPECT_EQ(0u, runLoop.timerCount()) << "cycle " << i;
    };
    // Each scale once first: caches of fonts and the like are filled on first use.
    for (int i = 0; i < 3; ++i)
        cycle(i);

    const int descriptors = openDescriptorCount();
    const uint32 references = controllerReferences();
    const int windows = serverWindowCount(display);
    const size_t heap = liveHeapBytes();
    for (int i = 0; i < 50; ++i)
        cycle(i);
    EXPECT_EQ(descriptors, openDescriptorCount()) << "every X connection is closed";
    EXPECT_EQ(references, controllerReferences()) << "every editor let go of the controller";
    EXPECT_EQ(windows, serverWindowCount(display)) << "no window of the editor's or its menus is left on the server";
    // One lost back buffer or bitmap at 2x is megabytes.
    EXPECT_LT(static_cast<double>(liveHeapBytes()) - static_cast<double>(heap), 1 << 20);
}

// Two instances with their editors open at once in one host: closing one
// leaves the other drawing, its timers and its X connection running, its
// controls following the host's changes.
TEST_F(EditorWindowTest, ClosingOneOfTwoEditorsLeavesTheOtherRunning)
{
    IPlugView* view = openEditor();
    ASSERT_NE(nullptr, view);
    const size_t handlers = runLoop.eventHandlerCount(), timers = runLoop.timerCount();
    const Image before = screenshot();

    std::string error;
    auto other = Steinberg::Hosting::PluginInstance::create(
        factory(), module->findClass(KalviorTest::kAudioModuleClass), &host, error);
    ASSERT_TRUE(other) << error;
    ASSERT_TRUE(other->connect());
    IPlugView* otherView = openEditor(0, other->controller());
    ASSERT_NE(nullptr, otherView);
    EXPECT_EQ(2, childWindowCount());
    EXPECT_EQ(2 * timers, runLoop.timerCount());
    EXPECT_EQ(2 * handlers, runLoop.eventHandlerCount());
    EXPECT_EQ(kResultOk, sendScope(onePointBlock(), other->controller()));
    closeEditor(otherView);
    other.reset();
    settle();

    EXPECT_EQ(1, childWindowCount());
    EXPECT_EQ(timers, runLoop.timerCount()) << "the first editor's timers keep running";
    EXPECT_EQ(handlers, runLoop.eventHandlerCount());
    // Its scope still takes blocks and draws them; its knobs, buttons and
    // value displays follow the host, which hears nothing back.
    handler.clear();
    controller()->setParamNormalized(kLeftGain, 0.0);
    controller()->setParamNormalized(kLeftPan, 0.5);
    controller()->setParamNormalized(kMuteLeft, 1.0);
    settle(300); // parameter sync and repaint, with room for a loaded machine
    ASSERT_EQ(kResultOk, sendScope(onePointBlock()));
    redrawScope();
    const Image shot = screenshot();
    EXPECT_EQ(rgb(220, 255, 220), shot.at(kScopePoint.x, kScopePoint.y));
    EXPECT_EQ(0, shownKnobFrame(shot, gainKnob, {65, 140}));
    EXPECT_EQ(frameFor(0.5), shownKnobFrame(shot, panKnob, {65, 185}));
    // The mute button shows its lower (on) frame: its lamp lights up green;
    // the value display under the gain knob shows the new text.
    int greener = 0, changed = 0;
    for (int y = 71; y < 99; ++y)
        for (int x = 68; x < 96; ++x)
            greener += ((shot.at(x, y) >> 8) & 0xff) > ((before.at(x, y) >> 8) & 0xff) + 40;
    for (int y = 168; y < 188; ++y)
        for (int x = 55; x < 85; ++x)
            changed += channelDistance(before.at(x, y), shot.at(x, y)) > 60;
    EXPECT_GT(greener, 10);
    EXPECT_GT(changed, 5);
    EXPECT_TRUE(handler.events().empty()) << "a host change is not reported back to the host";
    closeEditor(view);
}

// Keys as the window system or the host sends them to the editor.
class EditorKeysTest : public EditorWindowTest
{
protected:
    // The host's virtual key codes and its Shift modifier.
    static constexpr int16 kHostReturn = 4, kHostEscape = 6, kHostLeft = 11, kHostUp = 12, kHostShift = 1;

    // Characters through the window, or through the host's onKeyDown when view is given.
    void type(const std::string& text, IPlugView* view = nullptr)
    {
        for (char c : text)
        {
            if (view)
                view->onKeyDown(static_cast<char16>(c), 0, 0);
            else
                tap(c == '.' ? XK_period : c == '-' ? XK_minus : static_cast<unsigned long>(c));
        }
        settle();
    }
    Window focusWindow() const
    {
        Window focus = 0;
        int revertTo = 0;
        XGetInputFocus(display, &focus, &revertTo);
        return focus;
    }
    // The pixels around a value display, where the wider text field opens.
    std::vector<uint32_t> around(const Image& shot, Point at) const
    {
        std::vector<uint32_t> pixels;
        for (int y = at.y - 12; y < at.y + 8; ++y)
            for (int x = std::max(0, at.x - 25); x < at.x + 35; ++x)
                pixels.push_back(shot.at(x, y));
        return pixels;
    }
};

// A double-click on a value display opens a field with the parameter's text;
// what is typed there goes through the parameter's own parsing, whatever the
// process's locale, as one edit on Enter. A click inside puts the caret.
// Escape, a click elsewhere, another window taking the keyboard or a text that
// names no value change nothing, and the display shows its old text. While the
// field is open the editor's window has the keyboard.
TEST_F(EditorKeysTest, ATypedValueIsOneEditOnEnterAndNothingOtherwise)
{
    enum Close
    {
        kEnter,
        kEscape,
        kClickElsewhere,
        kKeyboardTaken // by the host's window
    };
    struct Case
    {
        const char* what;
        ParamID id;
        Point display; // a point of the display clear of its knob
        const char* locale;
        bool viaHost;
        const char* text;
        Close close;
        double expected; // negative: unchanged
        bool caretToStart = false; // by a click at the field's left end
    };
    constexpr Point kFreq = {76, 413}, kGain = {60, 182};
    const Case cases[] = {
        {"200 Hz: a third of the log range", kCrossoverFreq, kFreq, "C", false, "200", kEnter, 1.0 / 3},
        {"a decimal point under de_DE", kCrossoverFreq, kFreq, "de_DE.UTF-8", false, "282.842712", kEnter, 0.5},
        {"0 dB through the host's keys", kLeftGain, kGain, "de_DE.UTF-8", true, "0", kEnter, 0.75},
        {"no number", kLeftGain, kGain, "C", false, "abc", kEnter, -1},
        {"Escape", kCrossoverFreq, kFreq, "C", false, "800", kEscape, -1},
        {"Escape from the host", kCrossoverFreq, kFreq, "C", true, "800", kEscape, -1},
        {"a click elsewhere", kCrossoverFreq, kFreq, "C", false, "800", kClickElsewhere, -1},
        {"the keyboard taken", kCrossoverFreq, kFreq, "C", false, "800", kKeyboardTaken, -1},
        // "1" before about 152 Hz is beyond the range's 800 Hz; in place of the text, 1 Hz.
        {"a click before the text", kCrossoverFreq, kFreq, "C", false, "1", kEnter, 1.0, true},
    };
    IPlugView* view = openEditor();
    ASSERT_NE(nullptr, view);
    const Window editorWindow = window.children()[0];
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        TestText::ScopedLocale locale(c.locale);
        if (!locale.isAvailable())
        {
            ADD_FAILURE() << c.locale << " is not installed (scripts/setup.sh makes it)";
            continue;
        }
        constexpr double kStart = 0.2;
        controller()->setParamNormalized(c.id, kStart);
        settle();
        const Image before = screenshot();
        const Window focusBefore = focusWindow();
        handler.clear();
        doubleClick(c.display.x, c.display.y);
        EXPECT_NE(around(before, c.display), around(screenshot(), c.display)) << "the field shows";
        EXPECT_EQ(editorWindow, focusWindow()) << "the field has the keyboard";
        if (c.caretToStart)
            click(kFreq.x - 12, kFreq.y);
        type(c.text, c.viaHost ? view : nullptr);
        if (c.close == kClickElsewhere)
            click(5, 5);
        else if (c.close == kKeyboardTaken)
            XSetInputFocus(display, window.window, RevertToParent, CurrentTime);
        else if (c.viaHost)
            EXPECT_EQ(kResultTrue, view->onKeyDown(0, c.close == kEnter ? kHostReturn : kHostEscape, 0));
        else
            tap(c.close == kEnter ? XK_Return : XK_Escape);
        settle();
        EXPECT_EQ(c.close == kKeyboardTaken ? window.window : focusBefore, focusWindow())
            << "the keyboard goes back, or stays where it was taken";
        const std::vector<EditEvent> edits = editsOf(c.id);
        if (c.expected < 0)
        {
            EXPECT_TRUE(edits.empty());
            EXPECT_EQ(kStart, controller()->getParamNormalized(c.id));
            EXPECT_EQ(around(before, c.display), around(screenshot(), c.display)) << "the old text again";
            continue;
        }
        ASSERT_EQ(3u, edits.size()) << "begin, perform, end";
        EXPECT_NEAR(c.expected, checkGesture(edits), 1e-6);
        EXPECT_NEAR(c.expected, controller()->getParamNormalized(c.id), 1e-6);
    }
    closeEditor(view);
}

// Arrow keys move the knob with the focus (the last one clicked) or else the
// one under the mouse by a hundredth, with Shift a thousandth, as one edit.
// Keys no view takes go back to the host.
TEST_F(EditorKeysTest, ArrowKeysStepAKnobAndOtherKeysStayTheHosts)
{
    struct Case
    {
        const char* what;
        ParamID id;
        Point knob;    // clicked first when focused
        Point mouse;   // where the mouse is when the key comes
        bool focused;  // the knob was clicked
        int16 hostKey; // through onKeyDown, else an XTest key
        unsigned long keysym;
        bool shift;
        double start, expected; // expected negative: the host gets the key back
    };
    constexpr Point kGain = {65, 140}, kBal = {20, 255}, kSkin = {5, 5};
    const Case cases[] = {
        {"Up under the mouse", kLeftGain, kGain, {83, 158}, false, 0, XK_Up, false, 0.5, 0.51},
        {"Shift+Down: fine", kLeftGain, kGain, {83, 158}, false, 0, XK_Down, true, 0.5, 0.499},
        {"Right at the top", kBalance, kBal, {38, 273}, false, 0, XK_Right, false, 1.0, 1.0},
        {"host Up", kBalance, kBal, {38, 273}, false, kHostUp, 0, false, 0.5, 0.51},
        {"host Shift+Left to the focused knob", kLeftGain, kGain, kSkin, true, kHostLeft, 0, true, 0.5, 0.499},
        {"host Up over the skin", kLeftGain, kGain, kSkin, false, kHostUp, 0, false, 0.5, -1},
        {"host character over a knob", kLeftGain, kGain, {83, 158}, false, 'a', 0, false, 0.5, -1},
    };
    IPlugView* view = openEditor();
    ASSERT_NE(nullptr, view);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        controller()->setParamNormalized(c.id, c.start);
        click(kSkin.x, kSkin.y); // nothing has the focus
        if (c.focused)
            click(c.knob.x + 18, c.knob.y + 18);
        moveTo(c.mouse.x, c.mouse.y);
        settle();
        handler.clear();
        if (c.hostKey)
        {
            const int16 code = c.hostKey == 'a' ? 0 : c.hostKey;
            const char16 character = c.hostKey == 'a' ? 'a' : 0;
            EXPECT_EQ(c.expected < 0 ? kResultFalse : kResultTrue,
                      view->onKeyDown(character, code, c.shift ? kHostShift : 0));
            view->onKeyUp(character, code, c.shift ? kHostShift : 0);
        }
        else
        {
            if (c.shift)
                holdKey(XK_Shift_L, true);
            tap(c.keysym);
            if (c.shift)
                holdKey(XK_Shift_L, false);
        }
        settle();
        const std::vector<EditEvent> edits = editsOf(c.id);
        if (c.expected < 0 || c.expected == c.start)
        {
            EXPECT_TRUE(edits.empty());
            EXPECT_EQ(c.start, controller()->getParamNormalized(c.id));
            continue;
        }
        ASSERT_EQ(3u, edits.size()) << "begin, perform, end";
        EXPECT_NEAR(c.expected, checkGesture(edits), 1e-6);
        EXPECT_NEAR(c.expected, controller()->getParamNormalized(c.id), 1e-6);
    }
    closeEditor(view);
}

} // namespace
