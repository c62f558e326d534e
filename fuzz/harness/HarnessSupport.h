#pragma once

// What the cases share: a host context, plug-in instances made through the
// factory, state streams, raw parameter change lists and the state model the
// invariants are checked against.

#include "fuzz/harness/Harness.h"

#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/PluginInstance.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KalviorFuzz {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kParameterCount = 29; // IDs 0..28
constexpr size_t kRecordBytes = 12;      // big-endian uint32 ID, big-endian double value
constexpr size_t kStateBytes = kParameterCount * kRecordBytes;

// The host context every case hands to initialize(); lives as long as the process.
Steinberg::FUnknown* hostContext();

// Processor and controller of one plug-in instance, initialised (not connected).
std::unique_ptr<Steinberg::Hosting::PluginInstance> makeInstance(const PluginEntry& entry);

Steinberg::tresult setState(Steinberg::Vst::IComponent* component, const uint8_t* data, size_t size);
Steinberg::tresult setComponentState(Steinberg::Vst::IEditController* controller, const uint8_t* data, size_t size);
Bytes getState(Steinberg::Vst::IComponent* component, Steinberg::tresult* result = nullptr);

// The normalised values a state holds, in ID order.
using Values = std::array<double, kParameterCount>;

// Reads a 348-byte state written by getState; false (with a failure reported)
// when it is not 29 records with IDs 0..28 in order and values in 0..1.
bool decodeState(const Bytes& state, Values& values);

// What the documented state policy makes of `data` applied over `before`:
// complete records only; IDs outside 0..28 and non-finite values skipped;
// finite values limited to 0..1; a later record for an ID wins. `touched`,
// when given, tells which IDs a record set.
Values applyRecords(Values before, const uint8_t* data, size_t size,
                    std::array<bool, kParameterCount>* touched = nullptr);

// A double in full, for failure messages.
std::string num(double v);

inline bool isUnit(double v)
{
    return std::isfinite(v) && v >= 0.0 && v <= 1.0;
}

// A parameter queue that hands out its points exactly as given.
class RawQueue final : public Steinberg::Vst::IParamValueQueue
{
public:
    struct Point
    {
        Steinberg::int32 offset;
        double value;
    };

    Steinberg::Vst::ParamID id = 0;
    std::vector<Point> points;

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return static_cast<Steinberg::int32>(points.size()); }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                           Steinberg::Vst::ParamValue& value) override;
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32, Steinberg::Vst::ParamValue, Steinberg::int32&) override
    {
        return Steinberg::kResultFalse;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

// Input changes of one block, queues in the order given (repeated IDs allowed).
class RawChanges final : public Steinberg::Vst::IParameterChanges
{
public:
    std::vector<std::unique_ptr<RawQueue>> queues;

    Steinberg::int32 PLUGIN_API getParameterCount() override { return static_cast<Steinberg::int32>(queues.size()); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID&,
                                                                  Steinberg::int32&) override
    {
        return nullptr;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

} // namespace KalviorFuzz
