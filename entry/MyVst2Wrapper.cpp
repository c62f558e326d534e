#include "entry/MyVst2Wrapper.h"

#include "params/ids.h"
#include "sdk/moduleentry.h"

#include "pluginterfaces/base/ipluginbase.h"

namespace Steinberg {
namespace Vst {

MyVst2Wrapper::MyVst2Wrapper(IAudioProcessor* processor, IEditController* controller, audioMasterCallback audioMaster,
                             const TUID componentClassId, IPluginFactory* factory)
    : Vst2Wrapper(processor, controller, audioMaster, componentClassId, kUniqueId, factory)
{
}

MyVst2Wrapper::~MyVst2Wrapper()
{
    if (moduleHeld)
        DeinitModule();
}

AEffect* MyVst2Wrapper::createForHost(audioMasterCallback audioMaster)
{
    // A host that reports no VST version is too old for this effect.
    if (!audioMaster || audioMaster(nullptr, Vst2Abi::audioMasterVersion, 0, 0, nullptr, 0.f) == 0)
        return nullptr;
    if (!InitModule())
        return nullptr;
    MyVst2Wrapper* effect = create<MyVst2Wrapper>(GetPluginFactory(), KalviorIds::kProcessorUID, audioMaster);
    if (!effect)
    {
        DeinitModule();
        return nullptr;
    }
    effect->moduleHeld = true;
    return effect->getAeffect();
}

} // namespace Vst
} // namespace Steinberg
