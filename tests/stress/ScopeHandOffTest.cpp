// The scope hand-off when the audio thread runs far ahead of the worker, as in
// an offline render: a block being sent must stay as it was handed over while
// the feed completes block after block (found by the ThreadSanitizer run of
// the host-thread stress test: the feed refilled the block in flight).

#include "processor/ScopeFeed.h"
#include "processor/VectorScope.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int kBlocks = 120;

// Holds each block until the feed has completed three more, then checks that
// its bytes did not change meanwhile.
class SlowSender : public ScopeSender
{
public:
    void sendScopeData(const uint8_t* block) override
    {
        uint8_t copy[ScopeBlock::kBytes];
        std::memcpy(copy, block, sizeof copy);
        const int seen = completed.load();
        while (completed.load() < seen + 3 && !feedDone.load())
            std::this_thread::yield();
        if (std::memcmp(copy, block, sizeof copy) != 0)
            ++changedWhileSent;
        ++sent;
    }

    std::atomic<int> completed{0};
    std::atomic<bool> feedDone{false};
    std::atomic<int> changedWhileSent{0};
    std::atomic<int> sent{0};
};

} // namespace

TEST(ScopeHandOff, ABlockBeingSentIsNeverRefilled)
{
    SlowSender sender;
    VectorScope scope(sender);
    ScopeFeed feed(scope);
    feed.decimation = 1;
    ASSERT_TRUE(scope.start());

    std::vector<double> left(ScopeBlock::kFrames), right(ScopeBlock::kFrames, 0.0);
    for (int block = 0; block < kBlocks; ++block)
    {
        // every block has its own bytes, so a refill shows
        std::fill(left.begin(), left.end(), (block % 200) / 100.0 - 1.0);
        feed.feed(left.data(), right.data(), ScopeBlock::kFrames, true);
        sender.completed.store(block + 1);
        if (block % 8 == 0)
            std::this_thread::yield();
    }
    sender.feedDone = true;
    // On a busy machine the worker may not have woken yet; the last block is still
    // pending, so give it the chance to go out before stopping.
    for (int wait = 0; wait < 10000 && sender.sent.load() == 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    scope.stop();

    EXPECT_GT(sender.sent.load(), 0);
    EXPECT_EQ(sender.changedWhileSent.load(), 0);
}
