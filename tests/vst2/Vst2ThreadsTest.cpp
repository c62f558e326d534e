// VST 2 hosts call processReplacing on their audio thread while their other
// threads set parameters, bypass and programs, load chunks and give idle
// time. Nothing may be lost or torn: after the threads stop, one more block
// and idle call leave the effect with the last values set. Run under the
// thread sanitizer too (KALVIOR_TSAN), which checks the hand-over itself.

#include "tests/vst2/Vst2Reference.h"
#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

// Runs until stopped, and at least 200 blocks, so processing overlaps the other threads' work.
void processBlocks(Effect& effect, std::atomic<bool>& stop, std::atomic<int>& blocks)
{
    std::vector<float> l(256, 0.25f), r(256, -0.25f), outL(256), outR(256);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {outL.data(), outR.data()};
    while (!stop.load() || blocks.load() < 200)
    {
        effect.effect->processReplacing(effect.effect, in, out, 256);
        ++blocks;
    }
}

TEST(Vst2Threads, ChangesFromOtherThreadsWhileProcessingAllArrive)
{
    ASSERT_TRUE(Module::get().handle) << Module::get().error;
    Host host;
    auto effect = open(host);
    ASSERT_TRUE(effect);
    effect->start(48000.f, 256);
    const std::vector<uint8_t> saved = effect->chunk();

    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::thread audio(processBlocks, std::ref(*effect), std::ref(stop), std::ref(blocks));
    while (blocks.load() == 0)
        std::this_thread::yield();

    // Two host threads at once: automation and the user.
    std::thread automation([&] {
        for (int i = 0; i < 2000; ++i)
        {
            effect->set(indexOf(11), static_cast<float>(i % 100) / 100.f);
            effect->set(indexOf(16), static_cast<float>(i % 50) / 50.f);
        }
    });
    for (int i = 0; i < 200; ++i)
    {
        effect->dispatch(V2::effSetBypass, 0, i % 2);
        effect->dispatch(V2::effSetProgram, 0, i % 6);
        effect->set(indexOf(22), static_cast<float>(i) / 200.f);
        effect->dispatch(V2::effIdle);
        if (i % 50 == 0)
            effect->setChunk(saved);
    }
    automation.join();
    // The last word, after the last program change: a program resets both.
    effect->dispatch(V2::effSetBypass, 0, 0);
    effect->set(indexOf(11), 0.125f);
    effect->set(indexOf(22), 0.375f);
    stop.store(true);
    audio.join();

    // One more block and idle: everything set last has arrived everywhere.
    float silence[2][16] = {};
    float* io[2] = {silence[0], silence[1]};
    effect->effect->processReplacing(effect->effect, io, io, 16);
    effect->dispatch(V2::effIdle);
    EXPECT_EQ(effect->get(indexOf(11)), 0.125f);
    EXPECT_EQ(effect->get(indexOf(22)), 0.375f);
    EXPECT_EQ(effect->stored(11), 0.125);
    EXPECT_EQ(effect->stored(22), 0.375);
    EXPECT_EQ(effect->stored(1), 0.0) << "bypass off";
}

} // namespace
