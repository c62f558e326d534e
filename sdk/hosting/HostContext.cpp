#include "sdk/hosting/HostContext.h"

#include "sdk/Utf16.h"
#include "sdk/hosting/HostOwned.h"

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
    const tresult result = queryOneInterface<Vst::IHostApplication>(this, iid, obj);
    if (result == kNoInterface && FUnknownPrivate::iidEqual(iid, Vst::IPlugInterfaceSupport::iid) &&
        getPlugInterfaceSupport())
        return getPlugInterfaceSupport()->queryInterface(iid, obj);
    return result;
}

} // namespace Hosting
} // namespace Steinberg
