// The editor through the VST 2 opcodes, as a VST 2 host on X11 opens it: the
// host's window as parent, no run loop of the host's own (the effect runs
// the editor's timers and events at effEditIdle), edits reported with
// audioMasterBeginEdit/Automate/EndEdit. Runs on a private Xvfb server.

#include "tests/editor/XvfbServer.h"
#include "tests/vst2/Vst2Reference.h"
#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstring>
#include <thread>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

constexpr int kParentX = 40;
constexpr int kParentY = 30;
constexpr int kWidth = 375;
constexpr int kHeight = 495;

class Vst2Editor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string reason;
        if (!EditorTest::XvfbServer::shared().start(reason))
            GTEST_SKIP() << "no X server for the editor tests: " << reason;
        ASSERT_TRUE(Module::get().handle) << Module::get().error;
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor));
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
        attributes.override_redirect = True;
        parent = XCreateWindow(display, DefaultRootWindow(display), kParentX, kParentY, kWidth, kHeight, 0,
                               CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect,
                               &attributes);
        XMapRaised(display, parent);
        XSync(display, False);
        effect = open(host);
        ASSERT_TRUE(effect);
    }

    void TearDown() override
    {
        effect.reset();
        if (display)
        {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }

    // The host's idle loop: effEditIdle every few milliseconds for a while.
    void idleFor(int milliseconds)
    {
        XSync(display, False);
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end)
        {
            effect->dispatch(V2::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        XSync(display, False);
    }

    int childWindowCount()
    {
        Window root = 0, up = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XSync(display, False);
        XQueryTree(display, parent, &root, &up, &children, &count);
        if (children)
            XFree(children);
        return static_cast<int>(count);
    }

    void moveTo(int x, int y)
    {
        XTestFakeMotionEvent(display, DefaultScreen(display), kParentX + x, kParentY + y, CurrentTime);
        XFlush(display);
        idleFor(20);
    }

    void button(bool down)
    {
        XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
        XFlush(display);
        idleFor(30);
    }

    bool openEditor()
    {
        if (effect->dispatch(V2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) != 1)
            return false;
        idleFor(150);
        return true;
    }

    Host host;
    std::unique_ptr<Effect> effect;
    Display* display = nullptr;
    Window parent = 0;
};

TEST_F(Vst2Editor, SizeIsKnownBeforeOpening)
{
    ASSERT_TRUE(effect->effect->flags & V2::effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_EQ(effect->dispatch(V2::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, kWidth);
    EXPECT_EQ(rect->bottom - rect->top, kHeight);
}

TEST_F(Vst2Editor, OpensInTheHostWindowAndCloses)
{
    ASSERT_TRUE(openEditor());
    EXPECT_EQ(childWindowCount(), 1);
    effect->dispatch(V2::effEditClose);
    idleFor(50);
    EXPECT_EQ(childWindowCount(), 0);

    // Hosts open and close again and again.
    for (int i = 0; i < 5; ++i)
    {
        ASSERT_TRUE(openEditor()) << i;
        effect->dispatch(V2::effEditClose);
    }
    idleFor(50);
    EXPECT_EQ(childWindowCount(), 0);
    EXPECT_EQ(effect->dispatch(V2::effEditOpen, 0, 0, nullptr), 0) << "no parent window";
}

// A drag on the Balance knob is an edit: the host hears begin, the values
// and the end, the parameter follows, and the processor gets it.
TEST_F(Vst2Editor, KnobDragIsReportedToTheHost)
{
    effect->start(48000.f, 256);
    ASSERT_TRUE(openEditor());
    const float before = effect->get(indexOf(11));
    const int x = 20 + 18, y = 255 + 18; // the Balance knob's centre
    moveTo(x, y);
    button(true);
    for (int step = 1; step <= 8; ++step)
        moveTo(x, y - 5 * step);
    button(false);
    idleFor(50);

    const VstInt32 balance = indexOf(11);
    ASSERT_FALSE(host.editsBegun.empty());
    EXPECT_EQ(host.editsBegun.front(), balance);
    ASSERT_FALSE(host.editsEnded.empty());
    EXPECT_EQ(host.editsEnded.back(), balance);
    ASSERT_FALSE(host.automated.empty());
    EXPECT_EQ(host.automated.back().index, balance);
    const float after = host.automated.back().value;
    EXPECT_GT(after, before) << "an upward drag raises the value";
    EXPECT_EQ(effect->get(balance), after);

    // The processor has the edited value once a block has run.
    float silence[2][32] = {};
    float* io[2] = {silence[0], silence[1]};
    effect->effect->processReplacing(effect->effect, io, io, 32);
    const std::vector<uint8_t> chunk = effect->chunk();
    ASSERT_EQ(chunk.size(), 16u + kComponentStateSize);
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = (bits << 8) | chunk[16 + 12 * 11 + 4 + i];
    double stored;
    std::memcpy(&stored, &bits, 8);
    EXPECT_FLOAT_EQ(static_cast<float>(stored), after);
    effect->dispatch(V2::effEditClose);
}

// The about box in a VST 2 host shows what the host says about itself: two
// hosts that differ only in vendor and vendor version give the same host-name
// line and different vendor and version lines.
TEST_F(Vst2Editor, AboutBoxShowsTheHostsVendorAndVersion)
{
    effect.reset(); // each run below opens its own effect with its own host
    auto aboutBox = [this](const char* vendor, VstInt32 version) {
        HostAnswers answers;
        answers.vendor = vendor;
        answers.vendorVersion = version;
        Host vst2Host(answers);
        effect = open(vst2Host);
        std::vector<uint32_t> pixels;
        if (!effect || !openEditor())
            return pixels;
        moveTo(285 + 40, 450 + 10); // About
        button(true);
        button(false);
        idleFor(400); // faded in
        XImage* image = XGetImage(display, parent, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (image)
        {
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xffffff));
            XDestroyImage(image);
        }
        effect->dispatch(V2::effEditClose);
        effect.reset();
        return pixels;
    };
    const std::vector<uint32_t> a = aboutBox("Cockos", 2400);
    const std::vector<uint32_t> b = aboutBox("Other Audio", 1111);
    ASSERT_EQ(a.size(), static_cast<size_t>(kWidth * kHeight));
    ASSERT_EQ(b.size(), a.size());
    // The middle of each label: the box at (10, 10), its inner view at (20, 15),
    // the labels at x 35..285 and y 210, 225, 240 in it.
    auto bandDiffers = [&](int labelTop) {
        const int top = 10 + 15 + labelTop + 5;
        for (int y = top; y < top + 8; ++y)
            for (int x = 10 + 20 + 35; x < 10 + 20 + 285; ++x)
                if (a[static_cast<size_t>(y * kWidth + x)] != b[static_cast<size_t>(y * kWidth + x)])
                    return true;
        return false;
    };
    EXPECT_FALSE(bandDiffers(210)) << "host kind and name are the same";
    EXPECT_TRUE(bandDiffers(225)) << "the vendor line follows the host";
    EXPECT_TRUE(bandDiffers(240)) << "the version line follows the host";
}

TEST_F(Vst2Editor, ClosingTheEffectWithTheEditorOpenIsClean)
{
    ASSERT_TRUE(openEditor());
    effect.reset(); // effClose while open
    XSync(display, False);
    EXPECT_EQ(childWindowCount(), 0);
}

} // namespace
