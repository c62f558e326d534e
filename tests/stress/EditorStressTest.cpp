// The editor opened and closed again and again in a host window on a private
// X server while the audio thread processes with Scope on: the scope worker
// delivers blocks to the controller while the editor's views come and go, its
// timers redraw the scope and parameters move under its controls. Each round
// the editor must show its window, draw the arriving blocks, and leave no
// window, timer or event handler behind. Bounded by a count of rounds; meant
// for the ThreadSanitizer build too (label "tsan").

#include "tests/editor/TestRunLoop.h"
#include "tests/editor/XvfbServer.h"
#include "tests/stress/StressHost.h"

#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace RobustnessTest;

namespace {

constexpr int kRounds = 25;
constexpr int kEditsPerRound = 8;

using EditorStress = KalviorTest::BundleTest;

// Pixels of the scope's square that differ between two pictures of the editor.
int scopeChanges(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    constexpr int kWidth = EditorTest::HostWindow::kWidth;
    int changed = 0;
    for (int y = 55; y < 55 + 170 && a.size() == b.size() && !a.empty(); ++y)
        for (int x = 180; x < 180 + 170; ++x)
            changed += a[static_cast<size_t>(y * kWidth + x)] != b[static_cast<size_t>(y * kWidth + x)];
    return changed;
}

} // namespace

TEST_F(EditorStress, EditorComesAndGoesWhileScopeBlocksArriveAndParametersMove)
{
    EditorTest::HostWindow window;
    std::string reason;
    if (!window.open(reason))
        GTEST_SKIP() << "no X server: " << reason;

    {
        StressHost host(*module);
        ASSERT_TRUE(host.ready()) << host.error();
        host.edit(kScope, 1.0);
        host.startAudioThread();
        EditorTest::TestRunLoop runLoop;
        KalviorTest::Noise random(4242);
        int roundsDrawn = 0;
        for (int round = 0; round < kRounds; ++round)
        {
            IPlugView* view = host.controller()->createView("editor");
            ASSERT_NE(view, nullptr);
            view->setFrame(&runLoop);
            ASSERT_EQ(view->attached(reinterpret_cast<void*>(window.window), kPlatformTypeX11EmbedWindowID), kResultOk);
            EXPECT_EQ(window.childCount(), 1);
            EXPECT_GE(runLoop.timerCount(), 3u) << "repaint, parameter sync and scope";
            std::vector<uint32_t> first;
            for (int step = 0; step < kEditsPerRound; ++step)
            {
                const auto id = static_cast<ParamID>(3 + random.below(kNumParams - 3)); // gains onwards; Scope stays on
                const double value = random.unit();
                host.edit(id, id == kMuteLeft || id == kMuteRight ? 0.0 : value); // the scope keeps a signal
                host.waitForBlocks(2);
                XSync(window.display, False);
                runLoop.pumpEvents();
                for (auto interval : runLoop.timerIntervals())
                    runLoop.fireTimers(interval);
                if (step == 0)
                    first = window.pixels();
            }
            XSync(window.display, False);
            roundsDrawn += scopeChanges(first, window.pixels()) > 0;
            view->removed();
            view->setFrame(nullptr);
            view->release();
            XSync(window.display, False);
            EXPECT_EQ(window.childCount(), 0) << "round " << round;
            EXPECT_EQ(runLoop.timerCount(), 0u) << "round " << round;
            EXPECT_EQ(runLoop.eventHandlerCount(), 0u) << "round " << round;
        }
        host.stopAudioThread();
        EXPECT_GT(roundsDrawn, kRounds / 2) << "the scope draws the blocks that arrive";
        EXPECT_GT(host.blocksProcessed(), 0u);
        EXPECT_EQ(host.nonFiniteBlocks(), 0u);
    }
}
