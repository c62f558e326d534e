#include "sdk/hosting/HostContext.h"

#include "sdk/Utf16.h"

#include "pluginterfaces/vst/ivstpluginterfacesupport.h"

namespace Steinberg {
namespace Hosting {

HostContext::HostContext(std::string name) : hostName(std::move(name)) {}

tresult PLUGIN_API HostContext::getName(Vst::String128 name)
{
    if (!name)
        return kInvalidArgument;
    utf8ToUtf16(hostName.c_str(), name, 128);
    return kResultTrue;
}

tresult PLUGIN_API HostContext::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Vst::IHostApplication::iid))
    {
        addRef();
        *obj = static_cast<Vst::IHostApplication*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, Vst::IPlugInterfaceSupport::iid) && getPlugInterfaceSupport())
        return getPlugInterfaceSupport()->queryInterface(iid, obj);
    *obj = nullptr;
    return kNoInterface;
}

} // namespace Hosting
} // namespace Steinberg
