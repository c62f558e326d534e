#pragma once

// Host-side parameter change lists: one queue of (offset, value) points per
// parameter and block. Storage is fixed at construction or by setCapacity;
// clear() makes them reusable for the next block without allocating, so an
// audio thread may fill and empty them. A full list or queue refuses more.

#include "sdk/hosting/HostOwned.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Steinberg {
namespace Hosting {

// Final: the list keeps its queues by value, so none is ever a subclass.
// Held by their ParameterChanges; plug-ins only borrow them.
class ParamValueQueue final : public HostOwned<Vst::IParamValueQueue>
{
public:
    explicit ParamValueQueue(int32 maxPoints);

    void reset(Vst::ParamID id);

    Vst::ParamID PLUGIN_API getParameterId() SMTG_OVERRIDE { return parameterId; }
    int32 PLUGIN_API getPointCount() SMTG_OVERRIDE { return pointCount; }
    tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, Vst::ParamValue& value) SMTG_OVERRIDE;
    // Keeps the points ordered by offset; a point at an offset already present
    // replaces its value. kResultFalse when the queue is full.
    tresult PLUGIN_API addPoint(int32 sampleOffset, Vst::ParamValue value, int32& index) SMTG_OVERRIDE;

private:
    struct Point
    {
        int32 offset;
        Vst::ParamValue value;
    };
    Vst::ParamID parameterId = 0;
    std::vector<Point> points; // fixed size: the capacity
    int32 pointCount = 0;
};

class ParameterChanges : public HostOwned<Vst::IParameterChanges>
{
public:
    explicit ParameterChanges(int32 maxParameters = 64, int32 maxPointsPerParameter = 64);

    // Room for maxParameters queues of maxPointsPerParameter points (at least
    // one each); empties the list. Allocates.
    void setCapacity(int32 maxParameters, int32 maxPointsPerParameter);
    void clear();

    int32 PLUGIN_API getParameterCount() SMTG_OVERRIDE { return used; }
    Vst::IParamValueQueue* PLUGIN_API getParameterData(int32 index) SMTG_OVERRIDE;
    // The queue of `id`, added if new; null when every queue is in use.
    Vst::IParamValueQueue* PLUGIN_API addParameterData(const Vst::ParamID& id, int32& index) SMTG_OVERRIDE;

    // Convenience for hosts and tests: one point for `id`.
    bool addChange(Vst::ParamID id, int32 sampleOffset, Vst::ParamValue value);
    // The queue of `id`, or null if the block holds none.
    ParamValueQueue* find(Vst::ParamID id);

private:
    std::vector<ParamValueQueue> queues; // fixed size: the capacity
    int32 used = 0;
};

} // namespace Hosting
} // namespace Steinberg
