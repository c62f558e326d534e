#include "EditorFixture.h"

#include "tests/support/ProcessingHost.h"
#include "tests/support/ScopeListener.h"

#include <cmath>

using namespace Steinberg;
using namespace EditorTest;

namespace {

using CorrelationMeterTest = EditorFixture;

// Audio processed by the plug-in reaches the meter under the scope (x 195 to
// 335, centre mark at 265, row 227) through the controller's notify, relayed
// by the host so that the test knows when: four scope blocks at 48 kHz, of
// which the meter reads the last three. A pixel of the bar is 1/70;
// independent noise reads within 0.1 (four standard deviations).
TEST_F(CorrelationMeterTest, TheBarShowsTheCorrelationOfTheProcessedAudio)
{
    constexpr double kNone = 2, kOwnNoise = NAN;
    // Right = factor * left, or noise of its own; the reading the bar shows.
    const std::pair<double, double> cases[] = {{1, 1}, {-1, -1}, {kOwnNoise, 0}, {0, kNone}};
    for (const auto& [factor, expected] : cases)
    {
        KalviorTest::ProcessingHost host(factory(), false);
        KalviorTest::ScopeListener relay(KalviorTest::query<Vst::IConnectionPoint>(host.controller()));
        auto component = KalviorTest::query<Vst::IConnectionPoint>(host.component());
        ASSERT_TRUE(host.ok() && component && component->connect(&relay) == kResultOk);
        ASSERT_EQ(kResultOk, host.start(KalviorTest::HostSetup{}));
        IPlugView* view = openEditor(0, host.controller());
        ASSERT_NE(nullptr, view);
        const Image before = screenshot();
        KalviorTest::Noise noise(3);
        auto processFrames = [&](int32 frames)
        {
            host.fillNoise(frames, noise);
            for (int32 i = 0; i < frames && !std::isnan(factor); ++i)
                host.buffers.setInput(1, i, factor * host.in(0, i));
            host.process(frames);
        };
        for (int chunk = 1; chunk <= 4 * 9; ++chunk) // 512 kept frames, one in trunc(48000 / 5120)
        {
            processFrames(512);
            // A busy worker is offered the block again on the next call.
            EXPECT_TRUE(chunk % 9 != 0 || relay.waitFor(chunk / 9, [&] { processFrames(1); }));
        }
        runLoop.fireTimers(100); // the meter's tick, then the frame's repaint
        runLoop.fireTimers(16);
        XSync(display, False);
        const Image after = screenshot();
        int shown = 0; // green pixels minus red ones
        for (int x = 195; x < 335; ++x)
        {
            const int red = (after.at(x, 227) >> 16) & 0xff, green = (after.at(x, 227) >> 8) & 0xff;
            shown += (green > red + 60) - (red > green + 60);
        }
        const bool drawn = before.at(265, 227) != after.at(265, 227);
        EXPECT_NEAR(expected, drawn ? shown / 70.0 : kNone, expected == 0 ? 0.1 : 1.5 / 70) << factor;
        closeEditor(view);
        host.stop();
        component->disconnect(&relay);
    }
}

} // namespace
