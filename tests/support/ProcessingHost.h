#pragma once

// The suite's one processing host: a plug-in instance made through a factory
// (the built bundle's, or linked objects'), processor and controller
// initialised with a host context and connected, set up, activated and
// processing; blocks of audio with parameter changes, and the processor's
// output changes handed on to the controller as a host does.

#include "tests/support/Noise.h"
#include "tests/support/StateRecords.h"

#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/PluginInstance.h"
#include "sdk/hosting/ProcessBuffers.h"

#include <memory>
#include <string>

namespace KalviorTest {

struct HostSetup
{
    double sampleRate = 48000.0; // Hz
    Steinberg::int32 maxBlock = 512;
    Steinberg::int32 sampleSize = Steinberg::Vst::kSample32;
    bool processing = true;            // setProcessing(true): the scope worker runs
    Steinberg::int32 bufferFrames = 0; // the host's buffer length; 0: maxBlock
};

class ProcessingHost
{
public:
    // The first audio class of `factory`; error() says why when it cannot be made.
    explicit ProcessingHost(Steinberg::IPluginFactory* factory, bool connect = true);
    ~ProcessingHost();
    ProcessingHost(const ProcessingHost&) = delete;
    ProcessingHost& operator=(const ProcessingHost&) = delete;

    bool ok() const { return instance != nullptr && error.empty(); }
    std::string error;

    Steinberg::Vst::IComponent* component() const { return instance->component(); }
    Steinberg::Vst::IAudioProcessor* processor() const { return instance->processor(); }
    Steinberg::Vst::IEditController* controller() const { return instance->controller(); }

    // Stops what runs, then stereo arrangement, setupProcessing, setActive and
    // setProcessing as `setup` says; the first refusal is returned.
    Steinberg::tresult start(const HostSetup& setup);
    void stop();

    void fillNoise(Steinberg::int32 frames, Noise& noise);
    void fillInput(Steinberg::int32 frames, double left, double right);
    // One block over the buffers. The output changes are kept in reports()
    // and, with `forward`, handed to the controller.
    Steinberg::tresult process(Steinberg::int32 frames, Steinberg::Vst::IParameterChanges* input = nullptr,
                               bool forward = true);
    const ValueList& reports() const { return lastReports; }

    // Values set at once through the component state (no ramp), the
    // controller following; and every current value, read back from it.
    Steinberg::tresult setValues(const ValueList& values);
    Values values();

    double in(Steinberg::int32 channel, Steinberg::int32 frame) const { return buffers.input(channel, frame); }
    double out(Steinberg::int32 channel, Steinberg::int32 frame) const { return buffers.output(channel, frame); }

    HostSetup setup;
    Steinberg::Hosting::HostContext context{"Kalvior Test Host"};
    std::unique_ptr<Steinberg::Hosting::PluginInstance> instance;
    Steinberg::Hosting::ProcessBuffers buffers;
    Steinberg::Hosting::ParameterChanges outputChanges{64, 4};

private:
    ValueList lastReports;
    bool active = false, processing = false;
};

} // namespace KalviorTest
