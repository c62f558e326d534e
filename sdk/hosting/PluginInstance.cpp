#include "sdk/hosting/PluginInstance.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"

namespace Steinberg {
namespace Hosting {

std::unique_ptr<PluginInstance> PluginInstance::create(IPluginFactory* factory, int32 classIndex, FUnknown* hostContext,
                                                       std::string& error)
{
    if (!factory)
    {
        error = "no factory";
        return nullptr;
    }
    PClassInfo info;
    if (factory->getClassInfo(classIndex, &info) != kResultOk)
    {
        error = "the factory has no class " + std::to_string(classIndex);
        return nullptr;
    }

    std::unique_ptr<PluginInstance> instance(new PluginInstance());
    Vst::IComponent* component = nullptr;
    if (factory->createInstance(info.cid, Vst::IComponent::iid, reinterpret_cast<void**>(&component)) != kResultOk ||
        !component)
    {
        error = std::string("cannot create the component \"") + info.name + "\"";
        return nullptr;
    }
    instance->componentPtr = owned(component);
    if (component->initialize(hostContext) != kResultOk)
    {
        error = std::string("the component \"") + info.name + "\" refused to initialise";
        return nullptr;
    }
    instance->componentInitialized = true;
    instance->processorPtr = FUnknownPtr<Vst::IAudioProcessor>(component);
    if (!instance->processorPtr)
    {
        error = std::string("the component \"") + info.name + "\" is no audio processor";
        return nullptr;
    }

    // The controller: the component itself, or the class it names.
    instance->controllerPtr = FUnknownPtr<Vst::IEditController>(component);
    if (instance->controllerPtr)
    {
        instance->controllerIsComponent = true;
        return instance;
    }
    TUID controllerClass = {};
    Vst::IEditController* controller = nullptr;
    if (component->getControllerClassId(controllerClass) == kResultOk &&
        factory->createInstance(controllerClass, Vst::IEditController::iid, reinterpret_cast<void**>(&controller)) ==
            kResultOk &&
        controller)
    {
        instance->controllerPtr = owned(controller);
        if (controller->initialize(hostContext) == kResultOk)
            instance->controllerInitialized = true;
        else
            instance->controllerPtr = nullptr;
    }
    return instance;
}

PluginInstance::~PluginInstance()
{
    if (processing)
        setProcessing(false);
    if (active)
        setActive(false);
    disconnect();
    if (controllerPtr && controllerInitialized)
    {
        controllerPtr->setComponentHandler(nullptr);
        controllerPtr->terminate();
    }
    controllerPtr = nullptr;
    processorPtr = nullptr;
    if (componentPtr && componentInitialized)
        componentPtr->terminate();
    componentPtr = nullptr;
}

bool PluginInstance::connect()
{
    if (connected)
        return true;
    if (!controllerPtr || controllerIsComponent)
        return false;
    componentConnection = FUnknownPtr<Vst::IConnectionPoint>(componentPtr);
    controllerConnection = FUnknownPtr<Vst::IConnectionPoint>(controllerPtr);
    if (!componentConnection || !controllerConnection)
        return false;
    if (componentConnection->connect(controllerConnection) != kResultOk)
        return false;
    if (controllerConnection->connect(componentConnection) != kResultOk)
    {
        componentConnection->disconnect(controllerConnection);
        return false;
    }
    connected = true;
    return true;
}

void PluginInstance::disconnect()
{
    if (!connected)
        return;
    componentConnection->disconnect(controllerConnection);
    controllerConnection->disconnect(componentConnection);
    componentConnection = nullptr;
    controllerConnection = nullptr;
    connected = false;
}

tresult PluginInstance::transferState()
{
    if (!controllerPtr || controllerIsComponent)
        return kResultFalse;
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    const tresult saved = componentPtr->getState(stream);
    if (saved != kResultOk)
        return saved;
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return controllerPtr->setComponentState(stream);
}

tresult PluginInstance::setupProcessing(double sampleRate, int32 maxSamplesPerBlock, int32 symbolicSampleSize)
{
    Vst::ProcessSetup setup{Vst::kRealtime, symbolicSampleSize, maxSamplesPerBlock, sampleRate};
    return processorPtr->setupProcessing(setup);
}

tresult PluginInstance::setStereoArrangement()
{
    Vst::SpeakerArrangement input = Vst::SpeakerArr::kStereo;
    Vst::SpeakerArrangement output = Vst::SpeakerArr::kStereo;
    return processorPtr->setBusArrangements(&input, 1, &output, 1);
}

tresult PluginInstance::setActive(bool state)
{
    const tresult result = componentPtr->setActive(state);
    active = state && result == kResultOk;
    return result;
}

tresult PluginInstance::setProcessing(bool state)
{
    const tresult result = processorPtr->setProcessing(state);
    processing = state && result == kResultOk;
    return result;
}

} // namespace Hosting
} // namespace Steinberg
