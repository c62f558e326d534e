#include "fuzz/LinkedEntry.h"

#include "entry/MyVst2Wrapper.h"

#include "pluginterfaces/base/ipluginbase.h"

namespace KalviorFuzz {

// The module's VST 2 entry is reached through the function behind its
// VSTPluginMain: the file that exports it also exports "main", which a fuzzer
// cannot link beside its own.
const PluginEntry& linkedEntry()
{
    static const PluginEntry entry{&GetPluginFactory, &Steinberg::Vst::MyVst2Wrapper::createForHost};
    return entry;
}

} // namespace KalviorFuzz
