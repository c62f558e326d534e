#pragma once

// The plug-in as a VST 2 effect: the wrapper with its VST 2 identity, the
// parameter names it gives the host, the Cockos host extensions, and
// IWrapperInterface, through which the controller learns about the VST 2 host.

#include "sdk/IWrapperInterface.h"
#include "vst2/Vst2Wrapper.h"

#include <string>

namespace Steinberg {
namespace Vst {

class MyVst2Wrapper : public Vst2Wrapper, public IWrapperInterface
{
public:
    static constexpr VstInt32 kUniqueId = static_cast<VstInt32>(0xFE9E97D5u);
    static constexpr const char* kCockosVendor = "Cockos";
    static constexpr int32 kNameLength = 8;         // VST 2's parameter names
    static constexpr int32 kCockosNameLength = 255; // what Cockos hosts take
    // Answers of the Cockos extensions.
    static constexpr VstIntPtr kCockosAnswer = 0xBEEF;
    static constexpr VstIntPtr kCockosExtensionsAnswer = 0xBEEF0000;
    static constexpr VstInt32 kCockosParamRangeQuery = static_cast<VstInt32>(0xDEADBEF0u);

    MyVst2Wrapper(IAudioProcessor* processor, IEditController* controller, audioMasterCallback audioMaster,
                  const TUID componentClassId, IPluginFactory* factory);
    ~MyVst2Wrapper() override;

    // Makes the effect for component class componentClassId of factory; takes
    // over the caller's reference to factory. Null when anything fails.
    static ::AudioEffect* create(IPluginFactory* factory, const TUID componentClassId, audioMasterCallback audioMaster);

    // The effect a VST 2 host gets from this module's entry: made by the
    // module's own factory, it holds one module initialisation until it is
    // closed. Null for a host that reports no VST version, or on failure.
    static AEffect* createForHost(audioMasterCallback audioMaster);

    // The effect holds one module initialisation, released when it is closed.
    void holdModule() { moduleHeld = true; }

    // Title when it fits maxNameLength characters, else the short title; cut to maxNameLength.
    void getParameterName(VstInt32 index, char* text) override;
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    VstIntPtr canDo(char* text) override;

    // The Cockos parameter queries; kCockosAnswer on success, else 0.
    virtual VstIntPtr getParamDisplayForValue(VstInt32 index, char* text, float value);
    virtual VstIntPtr getParamValueForText(VstInt32 index, char* text);
    virtual VstIntPtr isParamStepped(VstInt32 index);
    virtual VstIntPtr getParamRange(VstInt32 index, void* ptr);

    // IWrapperInterface
    std::string PLUGIN_API getHostVendor() override;
    int32 PLUGIN_API getHostVendorVersion() override;

    // FUnknown: the wrapper's, plus IWrapperInterface.
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override { return Vst2Wrapper::addRef(); }
    uint32 PLUGIN_API release() override { return Vst2Wrapper::release(); }

    int32 cockosHost = 0; // 1 when the host's vendor text is exactly "Cockos"
    int32 maxNameLength = kNameLength;

private:
    bool isIndex(VstIntPtr index) const { return index >= 0 && index < numParams; }

    bool moduleHeld = false;
};

} // namespace Vst
} // namespace Steinberg
