// The editor opened and closed again and again in a host window on a private
// X server while the audio thread processes with Scope on: the scope worker
// delivers blocks to the controller while the editor's views come and go, its
// timers redraw the scope and parameters move under its controls. Bounded by
// a count of rounds; meant for the ThreadSanitizer build too (label "tsan").

#include "tests/editor/TestRunLoop.h"
#include "tests/editor/XvfbServer.h"
#include "tests/stress/StressHost.h"

#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace RobustnessTest;

namespace {

constexpr int kRounds = 25;
constexpr int kEditsPerRound = 8;

using EditorStress = KalviorTest::BundleTest;

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
        Random random(4242);
        for (int round = 0; round < kRounds; ++round)
        {
            IPlugView* view = host.controller()->createView("editor");
            ASSERT_NE(view, nullptr);
            view->setFrame(&runLoop);
            ASSERT_EQ(view->attached(reinterpret_cast<void*>(window.window), kPlatformTypeX11EmbedWindowID), kResultOk);
            for (int step = 0; step < kEditsPerRound; ++step)
            {
                const auto id = static_cast<ParamID>(3 + random.below(kNumParams - 3)); // gains onwards; Scope stays on
                host.edit(id, random.unit());
                host.waitForBlocks(2);
                XSync(window.display, False);
                runLoop.pumpEvents();
                for (auto interval : runLoop.timerIntervals())
                    runLoop.fireTimers(interval);
            }
            view->removed();
            view->setFrame(nullptr);
            view->release();
            XSync(window.display, False);
        }
        host.stopAudioThread();
        EXPECT_GT(host.blocksProcessed(), 0u);
        EXPECT_EQ(host.nonFiniteBlocks(), 0u);
    }
}
