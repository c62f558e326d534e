#pragma once

// A host's component handler that records what the edit controller reports:
// edits (begin/perform/end) and restart requests.

#include "sdk/hosting/HostOwned.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <mutex>
#include <vector>

namespace Steinberg {
namespace Hosting {

struct EditEvent
{
    enum Kind
    {
        kBegin,
        kPerform,
        kEnd,
        kRestart,
    };
    Kind kind;
    Vst::ParamID id; // 0 for restarts
    double value;    // normalised value of a perform; restart flags of a restart
};

// Owned by the host, like HostContext; hand it to setComponentHandler.
class ComponentHandler : public HostOwned<Vst::IComponentHandler>
{
public:
    tresult PLUGIN_API beginEdit(Vst::ParamID id) SMTG_OVERRIDE;
    tresult PLUGIN_API performEdit(Vst::ParamID id, Vst::ParamValue valueNormalized) SMTG_OVERRIDE;
    tresult PLUGIN_API endEdit(Vst::ParamID id) SMTG_OVERRIDE;
    tresult PLUGIN_API restartComponent(int32 flags) SMTG_OVERRIDE;

    std::vector<EditEvent> events() const;
    void clear();

private:
    void record(const EditEvent& event);

    mutable std::mutex mutex;
    std::vector<EditEvent> recorded;
};

} // namespace Hosting
} // namespace Steinberg
