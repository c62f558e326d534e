#pragma once

// One plug-in instance as a host sets it up: the audio component and its edit
// controller created through the factory, both initialised with the host
// context, connected through their connection points, the controller following
// the component's state. The destructor undoes it all in reverse.

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <memory>
#include <string>

namespace Steinberg {
namespace Hosting {

class PluginInstance
{
public:
    // Creates and initialises the component of class `classIndex` and, if the
    // component names one the factory can build, its controller. Null with a
    // reason in `error` when the component cannot be made.
    static std::unique_ptr<PluginInstance> create(IPluginFactory* factory, int32 classIndex, FUnknown* hostContext,
                                                  std::string& error);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    Vst::IComponent* component() const { return componentPtr; }
    Vst::IAudioProcessor* processor() const { return processorPtr; }
    Vst::IEditController* controller() const { return controllerPtr; } // may be null

    // Connects component and controller both ways; false when either side refuses.
    bool connect();
    void disconnect();

    // component->getState, then controller->setComponentState from the same bytes.
    tresult transferState();

    // setupProcessing with a realtime setup.
    tresult setupProcessing(double sampleRate, int32 maxSamplesPerBlock, int32 symbolicSampleSize);
    // The stereo-in/stereo-out arrangement hosts ask for first.
    tresult setStereoArrangement();
    tresult setActive(bool state);
    tresult setProcessing(bool state);

private:
    PluginInstance() = default;

    IPtr<Vst::IComponent> componentPtr;
    IPtr<Vst::IAudioProcessor> processorPtr;
    IPtr<Vst::IEditController> controllerPtr;
    IPtr<Vst::IConnectionPoint> componentConnection;
    IPtr<Vst::IConnectionPoint> controllerConnection;
    bool componentInitialized = false;
    bool controllerInitialized = false;
    bool controllerIsComponent = false;
    bool connected = false;
    bool active = false;
    bool processing = false;
};

} // namespace Hosting
} // namespace Steinberg
