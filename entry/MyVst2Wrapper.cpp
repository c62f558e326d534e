#include "entry/MyVst2Wrapper.h"

#include "params/ids.h"
#include "sdk/NumberText.h"
#include "sdk/moduleentry.h"
#include "vst2/Vst2Text.h"

#include "pluginterfaces/base/ipluginbase.h"

#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

constexpr int32 kHostStringSize = 256;
constexpr int32 kMaxInputText = 1023; // UTF-16 units of a text the host asks us to read

} // namespace

MyVst2Wrapper::MyVst2Wrapper(IAudioProcessor* processor, IEditController* controller, audioMasterCallback audioMaster,
                             const TUID componentClassId, IPluginFactory* factory)
    : Vst2Wrapper(processor, controller, audioMaster, componentClassId, kUniqueId, factory)
{
    if (audioMaster)
    {
        char vendor[kHostStringSize] = {};
        const bool answered = callHost(Vst2Abi::audioMasterGetVendorString, 0, 0, vendor) != 0;
        vendor[kHostStringSize - 1] = 0;
        if (answered && std::strcmp(vendor, kCockosVendor) == 0)
            cockosHost = 1;
    }
    if (cockosHost == 1)
        maxNameLength = kCockosNameLength;
}

MyVst2Wrapper::~MyVst2Wrapper()
{
    if (moduleHeld)
        DeinitModule();
}

::AudioEffect* MyVst2Wrapper::create(IPluginFactory* factory, const TUID componentClassId,
                                     audioMasterCallback audioMaster)
{
    if (!factory)
        return nullptr;

    IAudioProcessor* processor = nullptr;
    if (factory->createInstance(componentClassId, IAudioProcessor::iid, reinterpret_cast<void**>(&processor)) !=
            kResultOk ||
        !processor)
    {
        factory->release();
        return nullptr;
    }

    IEditController* controller = nullptr;
    if (processor->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller)) != kResultOk)
    {
        controller = nullptr;
        IComponent* component = nullptr;
        if (processor->queryInterface(IComponent::iid, reinterpret_cast<void**>(&component)) == kResultOk && component)
        {
            TUID controllerClassId;
            if (component->getControllerClassId(controllerClassId) == kResultOk &&
                factory->createInstance(controllerClassId, IEditController::iid,
                                        reinterpret_cast<void**>(&controller)) != kResultOk)
                controller = nullptr;
            component->release();
        }
    }

    auto* wrapper = new MyVst2Wrapper(processor, controller, audioMaster, componentClassId, factory);
    if (!wrapper->init())
    {
        delete wrapper;
        factory->release();
        return nullptr;
    }

    IPluginFactory2* factory2 = nullptr;
    if (factory->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)) == kResultOk && factory2)
    {
        PFactoryInfo factoryInfo;
        if (factory2->getFactoryInfo(&factoryInfo) == kResultOk)
            wrapper->setVendorName(factoryInfo.vendor);
        for (int32 i = 0; i < factory2->countClasses(); ++i)
        {
            PClassInfo2 classInfo;
            if (factory2->getClassInfo2(i, &classInfo) != kResultOk ||
                std::memcmp(classInfo.cid, componentClassId, sizeof(TUID)) != 0)
                continue;
            wrapper->setSubCategories(classInfo.subCategories);
            wrapper->setEffectName(classInfo.name);
            wrapper->setEffectVersion(classInfo.version);
            if (classInfo.vendor[0] != 0)
                wrapper->setVendorName(classInfo.vendor);
            break;
        }
        factory2->release();
    }

    factory->release();
    return wrapper;
}

AEffect* MyVst2Wrapper::createForHost(audioMasterCallback audioMaster)
{
    // A host that reports no VST version is too old for this effect.
    if (!audioMaster || audioMaster(nullptr, Vst2Abi::audioMasterVersion, 0, 0, nullptr, 0.f) == 0)
        return nullptr;
    if (!InitModule())
        return nullptr;
    ::AudioEffect* effect = create(GetPluginFactory(), KalviorIds::kProcessorUID, audioMaster);
    if (!effect)
    {
        DeinitModule();
        return nullptr;
    }
    static_cast<MyVst2Wrapper*>(effect)->holdModule();
    return effect->getAeffect();
}

void MyVst2Wrapper::getParameterName(VstInt32 index, char* text)
{
    writeParameterName(index, text, maxNameLength);
}

VstIntPtr MyVst2Wrapper::vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (index)
    {
    case Vst2Abi::effGetParamDisplay:
        return isIndex(value) && ptr
                   ? getParamDisplayForValue(static_cast<VstInt32>(value), static_cast<char*>(ptr), opt)
                   : 0;
    case Vst2Abi::effGetParamName: return isIndex(value) ? isParamStepped(static_cast<VstInt32>(value)) : 0;
    case Vst2Abi::effString2Parameter:
        return isIndex(value) && ptr ? getParamValueForText(static_cast<VstInt32>(value), static_cast<char*>(ptr)) : 0;
    case kCockosParamRangeQuery: return getParamRange(static_cast<VstInt32>(value), ptr);
    default: return Vst2Wrapper::vendorSpecific(index, value, ptr, opt);
    }
}

VstIntPtr MyVst2Wrapper::canDo(char* text)
{
    if (Vst2Text::equalsIgnoringCase(text, "hasCockosExtensions"))
        return kCockosExtensionsAnswer;
    return Vst2Wrapper::canDo(text);
}

VstIntPtr MyVst2Wrapper::getParamDisplayForValue(VstInt32 index, char* text, float value)
{
    if (!isIndex(index) || !text)
        return 0;
    if (!std::isfinite(value))
    {
        *text = 0;
        return 0;
    }
    const double normalized = value < 0.f ? 0.0 : (value > 1.f ? 1.0 : static_cast<double>(value));
    return writeParameterDisplay(index, normalized, text) ? kCockosAnswer : 0;
}

VstIntPtr MyVst2Wrapper::getParamValueForText(VstInt32 index, char* text)
{
    ParameterInfo info;
    if (!isIndex(index) || !text || !getParameterInfo(index, info))
        return 0;
    char16 utf16[kMaxInputText + 1];
    Vst2Text::toUtf16(utf16, text, kMaxInputText);
    ParamValue value = 0.0;
    if (getController()->getParamValueByString(info.id, utf16, value) != kResultOk || !std::isfinite(value))
        return 0;
    // "%f" of the normalised value, with '.' whatever the host's locale is.
    const double normalized = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
    NumberText::printFloat(normalized, 6, text, Vst2Abi::kMaxParamStrLen + 1);
    return kCockosAnswer;
}

VstIntPtr MyVst2Wrapper::isParamStepped(VstInt32 index)
{
    ParameterInfo info;
    return getParameterInfo(index, info) && info.stepCount > 0 ? kCockosAnswer : 0;
}

VstIntPtr MyVst2Wrapper::getParamRange(VstInt32 /*index*/, void* /*ptr*/)
{
    return 0; // no range information
}

std::string PLUGIN_API MyVst2Wrapper::getHostVendor()
{
    char vendor[kHostStringSize] = {};
    if (callHost(Vst2Abi::audioMasterGetVendorString, 0, 0, vendor) == 0)
        return std::string();
    vendor[kHostStringSize - 1] = 0;
    return vendor;
}

int32 PLUGIN_API MyVst2Wrapper::getHostVendorVersion()
{
    return AudioEffectX::getHostVendorVersion();
}

tresult PLUGIN_API MyVst2Wrapper::queryInterface(const TUID iid, void** obj)
{
    if (obj && FUnknownPrivate::iidEqual(iid, IWrapperInterface::iid))
    {
        addRef();
        *obj = static_cast<IWrapperInterface*>(this);
        return kResultOk;
    }
    return Vst2Wrapper::queryInterface(iid, obj);
}

} // namespace Vst
} // namespace Steinberg
