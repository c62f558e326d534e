#include "processor/SampleSizeOverride.h"

std::atomic<int32_t> sampleSizeOverride{kAnySampleSize};
