#include "vst2/FixedParameterChanges.h"

namespace Steinberg {
namespace Vst {

void FixedParamValueQueue::setCapacity(int32 capacity)
{
    points.assign(capacity > 0 ? static_cast<size_t>(capacity) : 0, Point{0, 0.0});
    count = 0;
}

void FixedParamValueQueue::reset(ParamID newId)
{
    id = newId;
    count = 0;
}

tresult PLUGIN_API FixedParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value)
{
    if (index < 0 || index >= count)
        return kResultFalse;
    sampleOffset = points[index].offset;
    value = points[index].value;
    return kResultTrue;
}

tresult PLUGIN_API FixedParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index)
{
    int32 position = count;
    while (position > 0 && points[position - 1].offset > sampleOffset)
        --position;
    if (position > 0 && points[position - 1].offset == sampleOffset)
    {
        points[position - 1].value = value;
        index = position - 1;
        return kResultTrue;
    }
    if (count >= static_cast<int32>(points.size()))
        return kResultFalse;
    for (int32 i = count; i > position; --i)
        points[i] = points[i - 1];
    points[position] = Point{sampleOffset, value};
    ++count;
    index = position;
    return kResultTrue;
}

tresult PLUGIN_API FixedParamValueQueue::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IParamValueQueue::iid))
    {
        *obj = static_cast<IParamValueQueue*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

void FixedParameterChanges::setCapacity(int32 queueCount, int32 pointsPerQueue)
{
    queues.resize(queueCount > 0 ? static_cast<size_t>(queueCount) : 0);
    for (auto& queue : queues)
        queue.setCapacity(pointsPerQueue);
    used = 0;
}

IParamValueQueue* PLUGIN_API FixedParameterChanges::getParameterData(int32 index)
{
    return index >= 0 && index < used ? &queues[index] : nullptr;
}

IParamValueQueue* PLUGIN_API FixedParameterChanges::addParameterData(const ParamID& id, int32& index)
{
    for (int32 i = 0; i < used; ++i)
    {
        if (queues[i].getParameterId() == id)
        {
            index = i;
            return &queues[i];
        }
    }
    if (used >= static_cast<int32>(queues.size()))
        return nullptr;
    queues[used].reset(id);
    index = used;
    return &queues[used++];
}

tresult PLUGIN_API FixedParameterChanges::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IParameterChanges::iid))
    {
        *obj = static_cast<IParameterChanges*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg
