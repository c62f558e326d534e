#pragma once

#include <atomic>
#include <cstdint>

// Which sample sizes the module may process, set once per module load from the
// environment (Kalvior_FORCE_SAMPLESIZE).
enum SampleSizeOverride : int32_t
{
    kAnySampleSize = 0,
    kOnly32Bit = 1,
    kOnly64Bit = 2,
};
extern std::atomic<int32_t> sampleSizeOverride;
