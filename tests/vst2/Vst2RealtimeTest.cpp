// The VST 2 audio path allocates nothing and takes no lock: processReplacing
// and processDoubleReplacing (also converting between sample sizes and
// slicing host calls longer than the block size), and the calls hosts make on
// their audio thread between blocks: setParameter, getParameter, effSetBypass.
//
// The counting allocator and lock functions (tests/support/RealtimeCounting)
// count only on this thread during the measured calls. The scope is switched
// off, so the processor's one permitted lock (the scope hand-off) does not
// occur and any lock counted is the wrapper's.

#include "tests/support/RealtimeCounting.h"
#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

using RealtimeCounting::count;
using RealtimeCounting::kCountsLocks;

struct Case
{
    const char* name;
    bool processorDouble, hostDouble;
    int32_t hostFrames; // per call; the block size is 256
};

class Vst2Realtime : public OpenedEffect, public ::testing::WithParamInterface<Case>
{};

TEST_P(Vst2Realtime, AudioThreadCallsNeitherAllocateNorLock)
{
    const Case& c = GetParam();
    effect->set(indexOf(2), 0.f); // scope off: no hand-off lock in the processor
    effect->start(48000.f, 256, c.processorDouble);
    const size_t frames = static_cast<size_t>(c.hostFrames);
    std::vector<float> f[2] = {std::vector<float>(frames, 0.1f), std::vector<float>(frames)};
    std::vector<double> d[2] = {std::vector<double>(frames, 0.1), std::vector<double>(frames)};
    float* fin[2] = {f[0].data(), f[0].data()};
    float* fout[2] = {f[1].data(), f[1].data()};
    double* din[2] = {d[0].data(), d[0].data()};
    double* dout[2] = {d[1].data(), d[1].data()};
    auto block = [&]
    {
        if (c.hostDouble)
            effect->effect->processDoubleReplacing(effect->effect, din, dout, c.hostFrames);
        else
            effect->effect->processReplacing(effect->effect, fin, fout, c.hostFrames);
    };
    // Warm up: the first program change and crossover settings reach the processor.
    effect->dispatch(V2::effSetProgram, 0, 5);
    for (int i = 0; i < 4; ++i)
        block();
    effect->dispatch(V2::effIdle);

    const auto result = count(
        [&]
        {
            for (int i = 0; i < 20; ++i)
            {
                effect->set(indexOf(11), static_cast<float>(i) / 20.f); // automation
                effect->set(indexOf(24), static_cast<float>(i) / 40.f); // crossover glide
                effect->set(indexOf(23), (i % 3) / 2.f);                // slope switch
                effect->dispatch(V2::effSetBypass, 0, i == 10);
                (void)effect->get(indexOf(11));
                block();
            }
            // A program change from the audio thread too (some hosts send it there).
            effect->dispatch(V2::effSetProgram, 0, 1);
            block();
        });
    EXPECT_EQ(result.allocations + result.releases, 0) << c.name;
    if (kCountsLocks)
    {
        EXPECT_EQ(result.locks, 0) << c.name;
    }
    // The counting sees the module's allocations: saving a chunk allocates.
    EXPECT_GT(count([&] { (void)effect->chunk(); }).allocations, 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, Vst2Realtime,
                         ::testing::Values(Case{"float host, 32-bit processor", false, false, 256},
                                           Case{"double host, 64-bit processor", true, true, 256},
                                           Case{"float host, 64-bit processor", true, false, 256},
                                           Case{"double host, 32-bit processor", false, true, 200},
                                           Case{"host calls longer than the block", true, true, 1000}),
                         [](const ::testing::TestParamInfo<Case>& info)
                         { return "Case" + std::to_string(info.index); });

} // namespace
