#pragma once

// A host for the processing chain tests: one Kalvior instance from the built
// bundle, set up, activated and processing, with buffers, state helpers and
// parameter queues that hand the plug-in points exactly as given (repeated
// and out-of-order offsets included).

#include "tests/dsp/ChainReference.h"
#include "tests/support/KalviorBundle.h"

#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ChainTestSupport {

using Steinberg::int32;
using Steinberg::tresult;

struct Point
{
    int32 offset;
    double value;
};

// A parameter queue that reports its points in the order they were added.
class RawQueue : public Steinberg::Vst::IParamValueQueue
{
public:
    RawQueue(Steinberg::Vst::ParamID id, std::vector<Point> points) : id(id), points(std::move(points)) {}

    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& offset, Steinberg::Vst::ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount())
            return Steinberg::kInvalidArgument;
        offset = points[static_cast<size_t>(index)].offset;
        value = points[static_cast<size_t>(index)].value;
        return Steinberg::kResultOk;
    }
    tresult PLUGIN_API addPoint(int32, Steinberg::Vst::ParamValue, int32&) override { return Steinberg::kResultFalse; }

    tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    Steinberg::Vst::ParamID id;
    std::vector<Point> points;
};

// Input changes of one block: queues in the order given.
class RawChanges : public Steinberg::Vst::IParameterChanges
{
public:
    RawChanges& add(Steinberg::Vst::ParamID id, std::vector<Point> points)
    {
        queues.push_back(std::make_unique<RawQueue>(id, std::move(points)));
        return *this;
    }

    int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(int32 index) override
    {
        return index >= 0 && index < getParameterCount() ? queues[static_cast<size_t>(index)].get() : nullptr;
    }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID&, int32&) override
    {
        return nullptr;
    }

    tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    std::vector<std::unique_ptr<RawQueue>> queues;
};

struct HostSetup
{
    int32 sampleSize = Steinberg::Vst::kSample64;
    int32 maxBlock = 512;        // maxSamplesPerBlock of the setup
    double sampleRate = 44100.0; // Hz
    int32 bufferFrames = 0;      // host buffer length; 0: maxBlock
};

// One processing instance of the bundle.
class ChainHost
{
public:
    // Empty `error` when the instance is processing.
    ChainHost(Steinberg::Hosting::PluginModule& module, const HostSetup& setup, std::string& error);
    ~ChainHost();

    Steinberg::Vst::IComponent* component() const { return instance->component(); }
    Steinberg::Vst::IAudioProcessor* processor() const { return instance->processor(); }

    // Sets the values at once through the component state (no ramp).
    void setValues(const std::vector<std::pair<uint32_t, double>>& values);
    // The current value of every parameter, read from the component state.
    ChainReference::Values values();

    // Fills the input with reproducible noise in -1..1.
    void fillNoise(int32 frames, uint32_t seed);
    void fillOutput(int32 frames, double value);

    // Runs one block.
    tresult process(int32 frames, Steinberg::Vst::IParameterChanges* input = nullptr,
                    Steinberg::Vst::IParameterChanges* output = nullptr);

    double in(int32 channel, int32 frame) const { return buffers.input(channel, frame); }
    double out(int32 channel, int32 frame) const { return buffers.output(channel, frame); }

    HostSetup setup;
    Steinberg::Hosting::HostContext host{"Kalvior Chain Test Host"};
    Steinberg::Hosting::ProcessBuffers buffers;
    std::unique_ptr<Steinberg::Hosting::PluginInstance> instance;
};

} // namespace ChainTestSupport
