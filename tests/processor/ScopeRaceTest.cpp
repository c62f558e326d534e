// Two threads connect and disconnect peers while the scope worker sends and
// the audio thread hands it blocks. Meant for the ThreadSanitizer build
// (CTest label "tsan"); in a plain build it still checks that nothing breaks.

#include "params/ParamId.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"
#include "tests/support/ScopeListener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KalviorTest::ScopeListener;

using ScopeRace = KalviorTest::BundleTest;

TEST_F(ScopeRace, ConnectAndDisconnectWhileTheWorkerSends)
{
    KalviorTest::ProcessingHost host(factory(), false);
    ASSERT_TRUE(host.ok()) << host.error;
    ASSERT_EQ(host.start({5120.0}), kResultOk); // decimation 1: every 512-frame block completes a scope block
    KalviorTest::Noise noise;
    IPtr<IConnectionPoint> connection = KalviorTest::query<IConnectionPoint>(host.component());
    ASSERT_TRUE(connection);

    ScopeListener first, second;
    std::atomic<bool> done{false};
    auto hammer = [&](ScopeListener& peer)
    {
        while (!done)
        {
            connection->connect(&peer);
            std::this_thread::yield();
            connection->disconnect(&peer);
        }
    };
    std::thread a(hammer, std::ref(first));
    std::thread b(hammer, std::ref(second));
    for (int block = 0; block < 400; ++block)
    {
        host.fillNoise(512, noise);
        ASSERT_EQ(host.process(512), kResultOk);
        if (block % 16 == 0)
            std::this_thread::yield(); // let the worker catch up now and then
    }
    done = true;
    a.join();
    b.join();

    // Whatever was delivered was whole, and the connection still works.
    EXPECT_EQ(first.wrongSizes(), 0u);
    EXPECT_EQ(second.wrongSizes(), 0u);
    ASSERT_EQ(connection->connect(&first), kResultOk);
    const size_t before = first.count();
    host.fillNoise(512, noise);
    host.process(512);
    EXPECT_TRUE(first.waitFor(before + 1, [&] { host.process(1); }));
    host.stop();
    connection->disconnect(&first);
}
