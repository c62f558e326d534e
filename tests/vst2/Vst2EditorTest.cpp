// The editor through the VST 2 opcodes, as a VST 2 host on X11 opens it: the
// host's window as parent, no run loop of the host's own (the effect runs
// the editor's timers and events at effEditIdle), edits reported with
// audioMasterBeginEdit/Automate/EndEdit. Runs on a private Xvfb server.

#include "tests/editor/XvfbServer.h"
#include "tests/support/Noise.h"
#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

constexpr int kWidth = EditorTest::HostWindow::kWidth;
constexpr int kHeight = EditorTest::HostWindow::kHeight;

class Vst2Editor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string reason;
        if (!window.open(reason))
            GTEST_SKIP() << "no X server for the editor tests: " << reason;
        ASSERT_TRUE(Module::get().handle) << Module::get().error;
        effect = open(host);
        ASSERT_TRUE(effect);
    }

    void TearDown() override
    {
        if (window.display)
            XDeleteProperty(window.display, DefaultRootWindow(window.display), XA_RESOURCE_MANAGER);
    }

    // The host's idle loop: effEditIdle every few milliseconds for a while.
    void idleFor(int milliseconds)
    {
        XSync(window.display, False);
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end)
        {
            effect->dispatch(V2::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        XSync(window.display, False);
    }

    void moveTo(int x, int y)
    {
        window.move(x, y);
        idleFor(20);
    }

    void button(bool down)
    {
        window.button(1, down);
        idleFor(30);
    }

    bool openEditor()
    {
        if (effect->dispatch(V2::effEditOpen, 0, 0, reinterpret_cast<void*>(window.window)) != 1)
            return false;
        idleFor(150);
        return true;
    }

    EditorTest::HostWindow window;
    Host host;
    std::unique_ptr<Effect> effect;
};

// The size is known before opening; hosts open and close again and again,
// and close the effect with the editor still open. Where the desktop asks for
// twice the density (Xft.dpi 192), the editor opens at twice the size, asks the
// host for it and reports it from then on.
TEST_F(Vst2Editor, OpensInTheHostWindowAndCloses)
{
    ASSERT_TRUE(effect->effect->flags & V2::effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_EQ(effect->dispatch(V2::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, kWidth);
    EXPECT_EQ(rect->bottom - rect->top, kHeight);
    EXPECT_EQ(effect->dispatch(V2::effEditOpen, 0, 0, nullptr), 0) << "no parent window";

    for (int i = 0; i < 5; ++i)
    {
        ASSERT_TRUE(openEditor()) << i;
        EXPECT_EQ(window.childCount(), 1);
        effect->dispatch(V2::effEditClose);
        idleFor(20);
        EXPECT_EQ(window.childCount(), 0);
    }
    const std::string resources = "Xft.dpi:\t192\n";
    XChangeProperty(window.display, DefaultRootWindow(window.display), XA_RESOURCE_MANAGER, XA_STRING, 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                    static_cast<int>(resources.size()));
    XSync(window.display, False);
    ASSERT_TRUE(openEditor());
    const std::pair<VstInt32, VstIntPtr> doubled(2 * kWidth, 2 * kHeight);
    const std::vector<std::pair<VstInt32, VstIntPtr>> askedFor = {doubled};
    EXPECT_EQ(askedFor, host.windowSizes);
    ASSERT_EQ(effect->dispatch(V2::effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(doubled, std::make_pair(VstInt32(rect->right - rect->left), VstIntPtr(rect->bottom - rect->top)));
    XWindowAttributes editorWindow{};
    ASSERT_EQ(1, window.childCount());
    XGetWindowAttributes(window.display, window.children()[0], &editorWindow);
    EXPECT_EQ(doubled, std::make_pair(VstInt32(editorWindow.width), VstIntPtr(editorWindow.height)));
    effect.reset(); // effClose while open
    EXPECT_EQ(window.childCount(), 0);
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
    EXPECT_FLOAT_EQ(static_cast<float>(effect->stored(11)), after);
    effect->dispatch(V2::effEditClose);
}

// The scope of an editor opened through the VST 2 entry draws what the
// effect plays: the processor's blocks reach the view while audio runs.
TEST_F(Vst2Editor, TheScopeShowsTheAudioWhileItRuns)
{
    constexpr VstInt32 kFrames = 512;
    effect->start(48000.f, kFrames);
    ASSERT_TRUE(openEditor());
    const std::vector<uint32_t> before = window.pixels();
    KalviorTest::Noise noise;
    std::vector<float> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    for (int block = 0; block < 40; ++block)
    {
        for (VstInt32 i = 0; i < kFrames; ++i)
        {
            left[static_cast<size_t>(i)] = static_cast<float>(0.5 * noise.next());
            right[static_cast<size_t>(i)] = static_cast<float>(0.5 * noise.next());
        }
        effect->effect->processReplacing(effect->effect, in, out, kFrames);
        idleFor(10);
    }
    const std::vector<uint32_t> after = window.pixels();
    ASSERT_EQ(after.size(), before.size());
    ASSERT_EQ(after.size(), static_cast<size_t>(kWidth * kHeight));
    int lit = 0; // brighter in green than the empty scope: the trace
    for (int y = 55; y < 55 + 170; ++y)
        for (int x = 180; x < 180 + 170; ++x)
        {
            const size_t i = static_cast<size_t>(y * kWidth + x);
            lit += ((after[i] >> 8) & 0xff) > ((before[i] >> 8) & 0xff) + 60;
        }
    EXPECT_GT(lit, 50);
    effect->dispatch(V2::effEditClose);
}

} // namespace
