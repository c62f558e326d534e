#pragma once

// The host's application context handed to initialize(): its name, message
// and attribute-list creation, and the interface-support query.

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <string>

namespace Steinberg {
namespace Hosting {

// Owned by the host (not reference counted), so it outlives every plug-in
// object it is handed to.
class HostContext : public Vst::HostApplication
{
public:
    explicit HostContext(std::string name = "VST 3 Test Host");

    tresult PLUGIN_API getName(Vst::String128 name) SMTG_OVERRIDE;
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;

private:
    std::string hostName;
};

} // namespace Hosting
} // namespace Steinberg
