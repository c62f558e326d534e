#include "sdk/hosting/ComponentHandler.h"

namespace Steinberg {
namespace Hosting {

tresult PLUGIN_API ComponentHandler::beginEdit(Vst::ParamID id)
{
    record({EditEvent::kBegin, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue valueNormalized)
{
    record({EditEvent::kPerform, id, valueNormalized});
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::endEdit(Vst::ParamID id)
{
    record({EditEvent::kEnd, id, 0.0});
    return kResultOk;
}

tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags)
{
    record({EditEvent::kRestart, 0, static_cast<double>(flags)});
    return kResultOk;
}

std::vector<EditEvent> ComponentHandler::events() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return recorded;
}

void ComponentHandler::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    recorded.clear();
}

void ComponentHandler::record(const EditEvent& event)
{
    std::lock_guard<std::mutex> lock(mutex);
    recorded.push_back(event);
}

} // namespace Hosting
} // namespace Steinberg
