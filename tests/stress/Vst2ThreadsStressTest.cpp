// A VST 2 host's threads around one effect: the audio thread processes and
// plays automation through setParameter, as VST 2 hosts do; the main thread
// sets and reads parameters and their texts, idles the effect, picks programs,
// switches bypass, saves and loads chunks, switches the effect off and on and
// changes the block size while it is off. Nothing may be lost or torn: once
// the threads stop, the last values set arrive everywhere. Bounded by a count
// of main-thread operations; meant for the ThreadSanitizer build too (label "tsan").

#include "params/ParamId.h"
#include "tests/stress/StressHost.h"
#include "tests/support/Vst2HostCore.h"

#include "vst2/Vst2Abi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

using namespace RobustnessTest;
namespace vst2 = Vst2Abi;

namespace {

constexpr int kMainThreadOperations = 3000;
constexpr int32_t kFrames = 256;

VstIntPtr dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.f)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

using Vst2HostThreads = KalviorTest::BundleTest;

} // namespace

TEST_F(Vst2HostThreads, ChangesFromOtherThreadsWhileProcessingAllArrive)
{
    auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(module->symbol("VSTPluginMain"));
    ASSERT_NE(entry, nullptr);
    KalviorTest::Vst2Host host;
    AEffect* effect = entry(&KalviorTest::Vst2Host::callback);
    ASSERT_NE(effect, nullptr);
    ASSERT_GT(effect->numParams, 0);
    dispatch(effect, vst2::effOpen);
    dispatch(effect, vst2::effSetSampleRate, 0, 0, nullptr, 48000.f);
    dispatch(effect, vst2::effSetBlockSize, 0, kFrames);
    dispatch(effect, vst2::effMainsChanged, 0, 1);
    dispatch(effect, vst2::effStartProcess);

    std::atomic<bool> done{false};
    std::atomic<uint64_t> blocks{0};
    std::atomic<uint64_t> nonFiniteBlocks{0};
    std::thread audio(
        [&]
        {
            std::vector<float> in[2] = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
            std::vector<float> out[2] = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
            float* inputs[2] = {in[0].data(), in[1].data()};
            float* outputs[2] = {out[0].data(), out[1].data()};
            KalviorTest::Noise random(99);
            while (!done)
            {
                for (auto& channel : in)
                    for (float& s : channel)
                        s = static_cast<float>(random.unit() * 2.0 - 1.0);
                // automation played back on the audio thread
                effect->setParameter(effect, int32_t(random.below(uint32_t(effect->numParams))), float(random.unit()));
                effect->processReplacing(effect, inputs, outputs, kFrames);
                bool finite = true;
                for (auto& channel : out)
                    for (float s : channel)
                        finite = finite && std::isfinite(s);
                if (!finite)
                    ++nonFiniteBlocks;
                ++blocks;
            }
        });

    KalviorTest::Noise random(7);
    std::vector<char> text(vst2::kVendorStringSize);
    for (int op = 0; op < kMainThreadOperations; ++op)
    {
        const auto index = int32_t(random.below(uint32_t(effect->numParams)));
        switch (random.below(10))
        {
        case 0:
        case 1:
            effect->setParameter(effect, index, float(random.unit()));
            EXPECT_TRUE(std::isfinite(effect->getParameter(effect, index)));
            break;
        case 2: dispatch(effect, vst2::effGetParamDisplay, index, 0, text.data()); break;
        case 3:
            dispatch(effect, vst2::effEditIdle);
            dispatch(effect, vst2::effIdle);
            break;
        case 8: dispatch(effect, vst2::effSetBypass, 0, VstIntPtr(random.below(2))); break;
        case 4:
            dispatch(effect, vst2::effSetProgram, 0,
                     VstIntPtr(random.below(uint32_t(std::max(effect->numPrograms, 1)))));
            break;
        case 5:
        {
            void* chunk = nullptr;
            const VstIntPtr size = dispatch(effect, vst2::effGetChunk, 0, 0, &chunk);
            if (size > 0 && chunk)
            {
                std::vector<uint8_t> copy(static_cast<uint8_t*>(chunk), static_cast<uint8_t*>(chunk) + size);
                dispatch(effect, vst2::effSetChunk, 0, size, copy.data());
            }
            break;
        }
        case 6:
            // switched off and on again, with a new block size while off
            dispatch(effect, vst2::effStopProcess);
            dispatch(effect, vst2::effMainsChanged, 0, 0);
            dispatch(effect, vst2::effSetBlockSize, 0, 64 + VstIntPtr(random.below(448)));
            dispatch(effect, vst2::effMainsChanged, 0, 1);
            dispatch(effect, vst2::effStartProcess);
            break;
        default:
        {
            char name[vst2::kMaxProgNameLen + 1] = {};
            dispatch(effect, vst2::effGetProgramName, 0, 0, name);
            break;
        }
        }
        if (op % 64 == 0)
        {
            const uint64_t seen = blocks;
            while (blocks == seen && !done)
                std::this_thread::yield(); // keep the two threads interleaved
        }
    }
    done = true;
    audio.join();

    EXPECT_GT(blocks.load(), 0u);
    EXPECT_EQ(nonFiniteBlocks.load(), 0u);
    for (int32_t i = 0; i < effect->numParams; ++i)
    {
        const float v = effect->getParameter(effect, i);
        EXPECT_TRUE(v >= 0.f && v <= 1.f) << "parameter " << i << " holds " << v;
    }

    // The last word, after the last program change (a program resets both):
    // one more block and idle call bring it to the parameters and the chunk.
    const int32_t balance = kBalance - 2, lpPan = kLpPan - 2; // VST 2 has no ProgSel and Bypass
    dispatch(effect, vst2::effSetBypass, 0, 0);
    effect->setParameter(effect, balance, 0.125f);
    effect->setParameter(effect, lpPan, 0.375f);
    std::vector<float> silence(kFrames, 0.f);
    float* io[2] = {silence.data(), silence.data()};
    effect->processReplacing(effect, io, io, kFrames);
    dispatch(effect, vst2::effIdle);
    EXPECT_EQ(effect->getParameter(effect, balance), 0.125f);
    EXPECT_EQ(effect->getParameter(effect, lpPan), 0.375f);
    void* chunk = nullptr;
    const VstIntPtr size = dispatch(effect, vst2::effGetChunk, 0, 0, &chunk);
    ASSERT_EQ(size, 16 + kNumParams * 12);
    const KalviorTest::Bytes state(static_cast<uint8_t*>(chunk) + 16, static_cast<uint8_t*>(chunk) + size);
    Values stored{};
    ASSERT_TRUE(KalviorTest::decodeState(state, stored));
    EXPECT_EQ(stored[kBalance], 0.125);
    EXPECT_EQ(stored[kLpPan], 0.375);
    EXPECT_EQ(stored[kBypass], 0.0);
    dispatch(effect, vst2::effStopProcess);
    dispatch(effect, vst2::effMainsChanged, 0, 0);
    dispatch(effect, vst2::effClose);
}

// Hosts close effects that are still switched on. The processor's scope worker
// calls back into the effect (its host context) until processing stops, so
// processing must stop, and the worker be joined, before effClose returns.
TEST_F(Vst2HostThreads, ClosingAnEffectThatIsStillOnStopsItsWorkerFirst)
{
    auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(module->symbol("VSTPluginMain"));
    ASSERT_NE(entry, nullptr);
    std::vector<float> in(kFrames, 0.5f), out(kFrames);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out.data(), out.data()};
    KalviorTest::Vst2Host host;
    // A sanitizer's runtime starts a thread of its own with the first one the
    // process makes: let that happen before counting.
    std::thread([] {}).join();
    const int threadsBefore = KalviorTest::threadCount();
    for (int round = 0; round < 20; ++round)
    {
        AEffect* effect = entry(&KalviorTest::Vst2Host::callback);
        ASSERT_NE(effect, nullptr);
        dispatch(effect, vst2::effOpen);
        dispatch(effect, vst2::effSetSampleRate, 0, 0, nullptr, 5120.f); // a scope block every 512 frames
        dispatch(effect, vst2::effSetBlockSize, 0, kFrames);
        dispatch(effect, vst2::effMainsChanged, 0, 1);
        dispatch(effect, vst2::effStartProcess);
        for (int block = 0; block < 16; ++block)
            effect->processReplacing(effect, inputs, outputs, kFrames);
        EXPECT_GT(KalviorTest::threadCount(), threadsBefore) << "the scope worker runs";
        EXPECT_EQ(dispatch(effect, vst2::effClose), 1); // no effMainsChanged(0) first
        EXPECT_EQ(KalviorTest::threadCount(), threadsBefore) << "a worker outlived effClose, round " << round;
    }
}
