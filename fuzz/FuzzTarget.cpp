// One libFuzzer target; KV_FUZZ_CASE names the case it runs (see harness/Harness.h).

#include "fuzz/harness/Harness.h"

#ifndef KV_FUZZ_NEEDS_NO_PLUGIN
#include "entry/MyVst2Wrapper.h"

#include "pluginterfaces/base/ipluginbase.h"
#endif

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
#ifdef KV_FUZZ_NEEDS_NO_PLUGIN
    KalviorFuzz::KV_FUZZ_CASE(data, size);
#else
    // The plug-in linked into the fuzzer itself, instrumented like the rest of
    // the tree. Its VST 2 entry is the function behind VSTPluginMain: the file
    // that exports that also exports "main", which a fuzzer cannot link beside
    // its own.
    static const KalviorFuzz::PluginEntry entry{&GetPluginFactory, &Steinberg::Vst::MyVst2Wrapper::createForHost};
    KalviorFuzz::KV_FUZZ_CASE(entry, data, size);
#endif
    return 0;
}
