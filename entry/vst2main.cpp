// The VST 2 entry points: VSTPluginMain, the same function as main, and MAIN.

#include "entry/MyVst2Wrapper.h"

#include "pluginterfaces/base/fplatform.h"

extern "C" {

SMTG_EXPORT_SYMBOL AEffect* VSTPluginMain(audioMasterCallback audioMaster)
{
    return Steinberg::Vst::MyVst2Wrapper::createForHost(audioMaster);
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
