#include "sdk/hosting/ParameterChanges.h"

namespace Steinberg {
namespace Hosting {

ParamValueQueue::ParamValueQueue(int32 maxPoints) : points(static_cast<size_t>(maxPoints > 0 ? maxPoints : 1)) {}

void ParamValueQueue::reset(Vst::ParamID id)
{
    parameterId = id;
    pointCount = 0;
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value)
{
    if (index < 0 || index >= pointCount)
        return kInvalidArgument;
    sampleOffset = points[static_cast<size_t>(index)].offset;
    value = points[static_cast<size_t>(index)].value;
    return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index)
{
    int32 at = 0;
    while (at < pointCount && points[static_cast<size_t>(at)].offset < sampleOffset)
        ++at;
    if (at < pointCount && points[static_cast<size_t>(at)].offset == sampleOffset)
    {
        points[static_cast<size_t>(at)].value = value;
        index = at;
        return kResultOk;
    }
    if (pointCount == static_cast<int32>(points.size()))
        return kResultFalse;
    for (int32 i = pointCount; i > at; --i)
        points[static_cast<size_t>(i)] = points[static_cast<size_t>(i - 1)];
    points[static_cast<size_t>(at)] = {sampleOffset, value};
    ++pointCount;
    index = at;
    return kResultOk;
}

ParameterChanges::ParameterChanges(int32 maxParameters, int32 maxPointsPerParameter)
{
    setCapacity(maxParameters, maxPointsPerParameter);
}

void ParameterChanges::setCapacity(int32 maxParameters, int32 maxPointsPerParameter)
{
    queues.assign(static_cast<size_t>(maxParameters > 0 ? maxParameters : 1), ParamValueQueue(maxPointsPerParameter));
    used = 0;
}

void ParameterChanges::clear()
{
    used = 0;
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || index >= used)
        return nullptr;
    return &queues[static_cast<size_t>(index)];
}

Vst::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const Vst::ParamID& id, int32& index)
{
    for (int32 i = 0; i < used; ++i)
    {
        if (queues[static_cast<size_t>(i)].getParameterId() == id)
        {
            index = i;
            return &queues[static_cast<size_t>(i)];
        }
    }
    if (used == static_cast<int32>(queues.size()))
        return nullptr;
    index = used++;
    queues[static_cast<size_t>(index)].reset(id);
    return &queues[static_cast<size_t>(index)];
}

bool ParameterChanges::addChange(Vst::ParamID id, int32 sampleOffset, Vst::ParamValue value)
{
    int32 queueIndex = 0;
    int32 pointIndex = 0;
    Vst::IParamValueQueue* queue = addParameterData(id, queueIndex);
    return queue && queue->addPoint(sampleOffset, value, pointIndex) == kResultOk;
}

ParamValueQueue* ParameterChanges::find(Vst::ParamID id)
{
    for (int32 i = 0; i < used; ++i)
        if (queues[static_cast<size_t>(i)].getParameterId() == id)
            return &queues[static_cast<size_t>(i)];
    return nullptr;
}

} // namespace Hosting
} // namespace Steinberg
