#pragma once

// Parameter change lists in storage fixed before processing: the audio thread
// fills and clears them and never allocates. A full list or queue refuses
// further entries with kResultFalse.

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class FixedParamValueQueue : public IParamValueQueue
{
public:
    void setCapacity(int32 points); // allocates
    void reset(ParamID newId);

    ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return count; }
    tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) override;
    // Keeps the points ordered by offset; a point at an offset already present replaces it.
    tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value, int32& index) override;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    // Owned by value by its list; the host side never releases it.
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    struct Point
    {
        int32 offset;
        ParamValue value;
    };
    std::vector<Point> points; // size is the capacity
    int32 count = 0;
    ParamID id = 0;
};

class FixedParameterChanges : public IParameterChanges
{
public:
    void setCapacity(int32 queueCount, int32 pointsPerQueue); // allocates
    void clear() { used = 0; }

    int32 PLUGIN_API getParameterCount() override { return used; }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override;
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) override;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<FixedParamValueQueue> queues; // size is the capacity
    int32 used = 0;
};

} // namespace Vst
} // namespace Steinberg
