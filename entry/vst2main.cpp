// The VST 2 entry points: VSTPluginMain, the same function as main, and MAIN.

#include "entry/MyVst2Wrapper.h"
#include "entry/ids.h"
#include "sdk/moduleentry.h"

#include "pluginterfaces/base/fplatform.h"
#include "pluginterfaces/base/ipluginbase.h"

extern "C" {

SMTG_EXPORT_SYMBOL AEffect* VSTPluginMain(audioMasterCallback audioMaster)
{
    // A host that reports no VST version is too old for this effect.
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

// Old hosts look for "main"; a C++ function cannot carry that name with this
// signature, so the exported symbol is given as an alias of VSTPluginMain.
SMTG_EXPORT_SYMBOL AEffect* vst2MainAlias(audioMasterCallback audioMaster) __asm__("main")
    __attribute__((alias("VSTPluginMain")));

SMTG_EXPORT_SYMBOL AEffect* MAIN(audioMasterCallback audioMaster)
{
    return VSTPluginMain(audioMaster);
}

} // extern "C"
