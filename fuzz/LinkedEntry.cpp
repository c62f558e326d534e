#include "fuzz/LinkedEntry.h"

#include "entry/MyVst2Wrapper.h"
#include "entry/ids.h"
#include "sdk/moduleentry.h"

#include "vst2/Vst2Abi.h"

extern "C" Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory();

namespace KalviorFuzz {

namespace {

// What the module's VSTPluginMain does; that file also exports "main", which
// a fuzzer cannot link beside its own.
AEffect* vst2Main(audioMasterCallback audioMaster)
{
    if (!audioMaster || audioMaster(nullptr, Vst2Abi::audioMasterVersion, 0, 0, nullptr, 0.f) == 0)
        return nullptr;
    if (!InitModule())
        return nullptr;
    ::AudioEffect* effect =
        Steinberg::Vst::MyVst2Wrapper::create(GetPluginFactory(), KalviorIds::kProcessorUID, audioMaster);
    if (!effect)
    {
        DeinitModule();
        return nullptr;
    }
    static_cast<Steinberg::Vst::MyVst2Wrapper*>(effect)->holdModule();
    return effect->getAeffect();
}

} // namespace

const PluginEntry& linkedEntry()
{
    static const PluginEntry entry{&GetPluginFactory, &vst2Main};
    return entry;
}

} // namespace KalviorFuzz
