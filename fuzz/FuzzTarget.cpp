// One libFuzzer target; KV_FUZZ_CASE names the case it runs (see harness/Harness.h).

#include "fuzz/LinkedEntry.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
#ifdef KV_FUZZ_NEEDS_NO_PLUGIN
    KalviorFuzz::KV_FUZZ_CASE(data, size);
#else
    KalviorFuzz::KV_FUZZ_CASE(KalviorFuzz::linkedEntry(), data, size);
#endif
    return 0;
}
