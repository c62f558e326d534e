#pragma once

// Kalvior as a VST 2 effect: the generic wrapper with Kalvior's VST 2 unique
// ID, made from this module's own factory.

#include "vst2/Vst2Wrapper.h"

namespace Steinberg {
namespace Vst {

class MyVst2Wrapper : public Vst2Wrapper
{
public:
    static constexpr VstInt32 kUniqueId = static_cast<VstInt32>(0xFE9E97D5u);

    MyVst2Wrapper(IAudioProcessor* processor, IEditController* controller, audioMasterCallback audioMaster,
                  const TUID componentClassId, IPluginFactory* factory);
    ~MyVst2Wrapper() override;

    // The effect a VST 2 host gets from this module's entry: made by the
    // module's own factory, it holds one module initialisation until it is
    // closed. Null for a host that reports no VST version, or on failure.
    static AEffect* createForHost(audioMasterCallback audioMaster);

private:
    bool moduleHeld = false;
};

} // namespace Vst
} // namespace Steinberg
