// GetPluginFactory: the factory with the vendor record and the two classes.

#include "controller/KVController.h"
#include "params/ids.h"
#include "params/version.h"
#include "processor/KVProcessor.h"
#include "sdk/CPluginFactory.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <mutex>

using namespace Steinberg;

namespace {

// Category names hosts read: kVstAudioEffectClass and kVstComponentControllerClass.
constexpr const char* kAudioModuleClass = "Audio Module Class";
constexpr const char* kComponentControllerClass = "Component Controller Class";
constexpr int32 kDistributable = 1; // processor and controller may run in different places

FUnknown* createProcessor(void* /*context*/)
{
    return static_cast<Vst::IAudioProcessor*>(new KVProcessor());
}

FUnknown* createController(void* /*context*/)
{
    return static_cast<Vst::IEditController*>(new Vst::KVController());
}

std::mutex factoryMutex;
CPluginFactory* factoryInstance = nullptr; // guarded by factoryMutex
PFactoryInfo factoryInfo;                  // built with the first factory

// Forgets the singleton when the host releases the last reference, so the next
// GetPluginFactory builds a fresh one.
class ModuleFactory : public CPluginFactory
{
public:
    using CPluginFactory::CPluginFactory;
    ~ModuleFactory() override
    {
        std::lock_guard<std::mutex> lock(factoryMutex);
        if (factoryInstance == this)
            factoryInstance = nullptr;
    }
};

CPluginFactory* buildFactory()
{
    factoryInfo = PFactoryInfo(KalviorVersion::kVendor, KalviorVersion::kVendorUrl, KalviorVersion::kVendorEmail,
                               PFactoryInfo::kUnicode);
    auto* factory = new ModuleFactory(factoryInfo);

    const PClassInfo2 processorClass(KalviorIds::kProcessorUID, PClassInfo::kManyInstances, kAudioModuleClass,
                                     KalviorVersion::kProductName, kDistributable, KalviorVersion::kSubCategories, "",
                                     KalviorVersion::kVersion, KalviorVersion::kSdkVersion);
    factory->registerClass(&processorClass, createProcessor);

    const PClassInfo2 controllerClass(KalviorIds::kControllerUID, PClassInfo::kManyInstances, kComponentControllerClass,
                                      KalviorVersion::kControllerName, 0, "", "", KalviorVersion::kVersion,
                                      KalviorVersion::kSdkVersion);
    factory->registerClass(&controllerClass, createController);
    return factory;
}

} // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory()
{
    // Hosts may ask from several threads at once; all of them get the one factory.
    std::lock_guard<std::mutex> lock(factoryMutex);
    // A count of 1 after addRef means the last release is already destroying it.
    if (factoryInstance && factoryInstance->addRef() > 1)
        return factoryInstance;
    factoryInstance = buildFactory();
    return factoryInstance;
}
