// The scope feed and its worker, directly and through the built bundle.

#include "processor/ScopeFeed.h"
#include "params/ParamId.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"
#include "tests/support/ScopeListener.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using KalviorTest::ScopeListener;

// ---------------------------------------------------------------------------
// Bytes of a frame

TEST(ScopeFeedScaling, FramesBecomeMidAndSideBytes)
{
    struct Case
    {
        double c0, c1;
        bool ms;
        int mid, side;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {1.0, 1.0, false, 89, 0},                               // full-scale mono
        {1.0, 0.0, false, 44, 44},                              // full scale in the left channel only
        {1.0, -1.0, false, 0, 89},                              // full-scale side
        {-1.0, 0.0, false, -44, -44}, {2.0, 0.0, true, 127, 0}, // limited
        {-3.0, 0.5, true, -128, 44},                            // limited below
        {5.0, 5.0, false, 127, 0},    {1e300, -1e300, false, 0, 127},
        {nan, 0.5, false, 0, 0}, // non-finite samples give 0
        {inf, 0.5, false, 0, 0},      {0.5, -inf, true, 44, 0},
        {nan, nan, true, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.c0 << ", " << c.c1 << (c.ms ? " M/S" : " L/R"));
        int8_t mid = 1, side = 1;
        ScopeFeed::scaleFrame(c.c0, c.c1, c.ms, mid, side);
        EXPECT_EQ(mid, c.mid);
        EXPECT_EQ(side, c.side);
        if (std::fabs(c.c0) < 1e30 && std::fabs(c.c1) < 1e30) // beyond that a float is already infinite
        {
            ScopeFeed::scaleFrame(static_cast<float>(c.c0), static_cast<float>(c.c1), c.ms, mid, side);
            EXPECT_EQ(mid, c.mid);
            EXPECT_EQ(side, c.side);
        }
    }
}

// ---------------------------------------------------------------------------
// Through the bundle: "Scope" messages to a connected peer

namespace {

// Mid byte m for L = R = x: 2 x k lies a quarter above 2m, so the rule's
// truncations land on m whatever the rounding of the chain.
double frameValue(size_t globalFrame)
{
    const int m = static_cast<int>(globalFrame % 251) - 125;
    return (m + (m < 0 ? -0.25 : 0.25)) / (127.0 * 0.707106781);
}

int frameMid(size_t globalFrame)
{
    return static_cast<int>(globalFrame % 251) - 125;
}

class ScopeMessages : public KalviorTest::BundleTest
{
protected:
    std::unique_ptr<KalviorTest::ProcessingHost> makeHost(int32 sampleSize, double rate)
    {
        auto host = std::make_unique<KalviorTest::ProcessingHost>(factory(), false);
        EXPECT_TRUE(host->ok()) << host->error;
        EXPECT_EQ(host->start({rate, 1000, sampleSize}), kResultOk);
        connection = KalviorTest::query<IConnectionPoint>(host->component());
        EXPECT_TRUE(connection);
        EXPECT_EQ(connection->connect(&peer), kResultOk);
        return host;
    }

    // Processes `frames` more frames of the frame-numbered signal in blocks of up to 1000.
    void run(KalviorTest::ProcessingHost& host, size_t frames)
    {
        while (frames > 0)
        {
            const int32 n = static_cast<int32>(std::min<size_t>(frames, 1000));
            for (int32 i = 0; i < n; ++i)
            {
                host.buffers.setInput(0, i, frameValue(position + i));
                host.buffers.setInput(1, i, frameValue(position + i));
            }
            host.process(n);
            position += static_cast<size_t>(n);
            frames -= static_cast<size_t>(n);
        }
    }

    // The block the feed makes from the frames processed, block `index`.
    void expectBlock(const ScopeListener::Block& block, size_t index, uint32_t decimation)
    {
        for (size_t j = 0; j < ScopeBlock::kFrames; ++j)
        {
            const size_t kept = (index * ScopeBlock::kFrames + j + 1) * decimation - 1;
            ASSERT_LT(kept, position);
            ASSERT_EQ(block[2 * j], frameMid(kept)) << "pair " << j;
            ASSERT_EQ(block[2 * j + 1], 0) << "pair " << j;
        }
    }

    void TearDown() override
    {
        if (connection)
            connection->disconnect(&peer);
        connection = nullptr;
        BundleTest::TearDown();
    }

    ScopeListener peer;
    IPtr<IConnectionPoint> connection;
    size_t position = 0;
};

} // namespace

TEST_F(ScopeMessages, OneMessagePer512KeptFramesAtEverySampleRate)
{
    struct Case
    {
        double rate;
        uint32_t decimation;
    };
    for (int32 size : {kSample32, kSample64})
        for (const Case& c : {Case{44100, 8}, Case{48000, 9}, Case{96000, 18}, Case{5120, 1}})
        {
            SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << (size == kSample64 ? "64" : "32") << "-bit");
            position = 0;
            auto host = makeHost(size, c.rate);
            const size_t perBlock = size_t(ScopeBlock::kFrames) * c.decimation;
            const size_t before = peer.count();
            run(*host, perBlock); // blocks of 1000 frames: the scope block spans calls
            ASSERT_TRUE(peer.waitFor(before + 1, [&] { run(*host, 1); }));
            run(*host, perBlock - 1);
            run(*host, 1);
            ASSERT_TRUE(peer.waitFor(before + 2, [&] { run(*host, 1); }));
            expectBlock(peer.block(before), 0, c.decimation);
            expectBlock(peer.block(before + 1), 1, c.decimation);
            ASSERT_EQ(host->instance->setProcessing(false), kResultOk); // joins the worker
            EXPECT_EQ(peer.count(), before + 2);
            EXPECT_EQ(peer.wrongSizes(), 0u);
            connection->disconnect(&peer);
        }
}

TEST_F(ScopeMessages, StoppingProcessingJoinsTheWorkerEveryTime)
{
    const int before = KalviorTest::threadCount();
    auto host = makeHost(kSample32, 48000); // processing: one worker
    EXPECT_EQ(KalviorTest::threadCount(), before + 1);
    ASSERT_EQ(host->instance->setProcessing(true), kResultOk); // again: still one
    EXPECT_EQ(KalviorTest::threadCount(before + 1), before + 1);
    ASSERT_EQ(host->instance->setProcessing(false), kResultOk);
    EXPECT_EQ(KalviorTest::threadCount(before), before);
    ASSERT_EQ(host->instance->setProcessing(false), kResultOk); // nothing to stop
    // Straight to the processor, so the harness does not stop it before the release.
    ASSERT_EQ(host->processor()->setProcessing(true), kResultOk);
    EXPECT_EQ(KalviorTest::threadCount(), before + 1);
    connection->disconnect(&peer);
    connection = nullptr;
    host.reset(); // released while processing: the worker is joined with it
    EXPECT_EQ(KalviorTest::threadCount(before), before);
}
