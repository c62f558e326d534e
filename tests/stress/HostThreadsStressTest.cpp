// A host's threads around one instance, as hosts really run them: the audio
// thread processes blocks between setProcessing(true) and setProcessing(false);
// meanwhile the main thread edits parameters through the controller (the host
// forwards each edit to the audio thread), saves the state, toggles Scope,
// disconnects and reconnects processor and controller while the scope worker
// sends, and now and then stops processing to reload state and set up again
// before it restarts. Bounded by a count of main-thread operations; meant for
// the ThreadSanitizer build too (label "tsan").

#include "tests/stress/StressHost.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace RobustnessTest;

namespace {

constexpr int kMainThreadOperations = 3000;

using HostThreads = KalviorTest::BundleTest;

} // namespace

TEST_F(HostThreads, AudioRunsWhileTheMainThreadEditsReconnectsAndRestarts)
{
    StressHost host(*module);
    ASSERT_TRUE(host.ready()) << host.error();
    host.startAudioThread();

    KalviorTest::Noise random(20240611);
    Values sent = host.processorValues();
    for (int op = 0; op < kMainThreadOperations; ++op)
    {
        switch (random.below(10))
        {
        case 0:
        case 1:
        case 2:
        case 3:
        {
            // a knob moved in the host's generic editor
            const auto id = static_cast<ParamID>(1 + random.below(kNumParams - 1)); // not ProgSel
            const double value = random.unit();
            host.edit(id, value);
            sent[id] = value;
            break;
        }
        case 4:
        {
            const double value = sent[kScope] >= 0.5 ? 0.0 : 1.0;
            host.edit(kScope, value);
            sent[kScope] = value;
            break;
        }
        case 5: host.reconnect(); break;
        case 6:
        {
            // processing stops; the state is reloaded and set up anew; processing restarts
            const Values state = host.randomState(random);
            host.restart(state, 32 + int32(random.below(480)), random.below(2) ? kSample32 : kSample64);
            sent = state;
            break;
        }
        case 7:
        {
            // the project is saved during playback
            Values saved{};
            ASSERT_TRUE(KalviorTest::decodeState(KalviorTest::getStateBytes(host.component()), saved));
            for (double v : saved)
                ASSERT_TRUE(v >= 0.0 && v <= 1.0);
            break;
        }
        default: host.readTexts(); break;
        }
        if (op % 64 == 0)
            host.waitForBlocks(1); // keep the two threads interleaved
    }
    host.stopAudioThread();

    EXPECT_GT(host.blocksProcessed(), 0u);
    EXPECT_EQ(host.nonFiniteBlocks(), 0u) << "finite input gave non-finite output";
    // Every edit reached the processor, and the controller shows what it holds.
    const Values processor = host.processorValues();
    for (uint32_t id = 1; id < kNumParams; ++id)
    {
        EXPECT_EQ(processor[id], sent[id]) << "ID " << id;
        EXPECT_EQ(host.controllerValue(id), processor[id]) << "ID " << id;
    }
}
