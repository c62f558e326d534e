#pragma once

// Parameter changes that reach the plug-in exactly as written: points in the
// order given (repeated and out-of-order offsets, any ID or value), queues in
// the order added. The host harness's lists sort and merge; these do not.

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <memory>
#include <utility>
#include <vector>

namespace KalviorTest {

struct Point
{
    Steinberg::int32 offset;
    double value;
};

class RawQueue final : public Steinberg::Vst::IParamValueQueue
{
public:
    RawQueue(Steinberg::Vst::ParamID id = 0, std::vector<Point> points = {}) : id(id), points(std::move(points)) {}

    Steinberg::Vst::ParamID id;
    std::vector<Point> points;

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return static_cast<Steinberg::int32>(points.size()); }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                           Steinberg::Vst::ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount())
            return Steinberg::kInvalidArgument;
        offset = points[static_cast<size_t>(index)].offset;
        value = points[static_cast<size_t>(index)].value;
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32, Steinberg::Vst::ParamValue, Steinberg::int32&) override
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

class RawChanges final : public Steinberg::Vst::IParameterChanges
{
public:
    RawChanges& add(Steinberg::Vst::ParamID id, std::vector<Point> points)
    {
        queues.push_back(std::make_unique<RawQueue>(id, std::move(points)));
        return *this;
    }

    std::vector<std::unique_ptr<RawQueue>> queues;

    Steinberg::int32 PLUGIN_API getParameterCount() override { return static_cast<Steinberg::int32>(queues.size()); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override
    {
        return index >= 0 && index < getParameterCount() ? queues[static_cast<size_t>(index)].get() : nullptr;
    }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID&,
                                                                  Steinberg::int32&) override
    {
        return nullptr;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

} // namespace KalviorTest
