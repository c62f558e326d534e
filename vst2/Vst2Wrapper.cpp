#include "vst2/Vst2Wrapper.h"

#include "sdk/Utf16.h"
#include "vst2/EditorWrapper.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <algorithm>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace abi = Vst2Abi;

namespace {

constexpr int32 kHostStringSize = 256; // what hosts may write for their vendor text

// Case-insensitive comparison of ASCII texts; false if either is null.
bool equalsIgnoringCase(const char* a, const char* b)
{
    if (!a || !b)
        return false;
    auto lower = [](char c)
    {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (; *a && *b; ++a, ++b)
        if (lower(*a) != lower(*b))
            return false;
    return *a == *b;
}

// An identity text the factory did not give is reported as missing, so the
// host falls back to its own, rather than as an empty text.
bool copyIdentity(char* dest, const char* text, int32 maxBytes)
{
    if (!text[0])
        return false;
    copyUtf8(text, dest, maxBytes);
    return true;
}

// "a.b.c.d" as the four bytes of a VST 2 version, most significant first.
VstInt32 parseVersion(const char* text)
{
    uint32 parts[4] = {0, 0, 0, 0};
    int part = 0;
    bool digits = false;
    for (const char* c = text; c && *c && part < 4; ++c)
    {
        if (*c >= '0' && *c <= '9')
        {
            parts[part] = std::min<uint32>(parts[part] * 10 + static_cast<uint32>(*c - '0'), 0xFFu);
            digits = true;
        }
        else if (*c == '.')
            ++part;
        else
            break;
    }
    if (!digits)
        return 0;
    return static_cast<VstInt32>((parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3]);
}

void fillArrangement(abi::SpeakerArrangement8& arrangement, int32 channels)
{
    std::memset(&arrangement, 0, sizeof(arrangement));
    arrangement.numChannels = std::min(channels, 8);
    if (channels == 1)
    {
        arrangement.type = abi::kSpeakerArrMono;
        std::strcpy(arrangement.speakers[0].name, "M");
    }
    else if (channels == 2)
    {
        arrangement.type = abi::kSpeakerArrStereo;
        arrangement.speakers[0].type = abi::kSpeakerLeft;
        arrangement.speakers[1].type = abi::kSpeakerRight;
        std::strcpy(arrangement.speakers[0].name, "L");
        std::strcpy(arrangement.speakers[1].name, "R");
    }
    else
        arrangement.type = abi::kSpeakerArrUserDefined;
}

// Whether a host's arrangement describes channels channels the way we can run them.
bool arrangementMatches(const VstSpeakerArrangement* arrangement, int32 channels)
{
    if (!arrangement)
        return true;
    if (arrangement->numChannels != channels)
        return false;
    if (channels == 2)
        return arrangement->type == abi::kSpeakerArrStereo || arrangement->type == abi::kSpeakerArrUserDefined;
    if (channels == 1)
        return arrangement->type == abi::kSpeakerArrMono || arrangement->type == abi::kSpeakerArrUserDefined;
    return arrangement->type == abi::kSpeakerArrUserDefined;
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and set-up

Vst2Wrapper::Vst2Wrapper(IAudioProcessor* processor, IEditController* controller, audioMasterCallback audioMaster,
                         const TUID componentClassId, VstInt32 vst2UniqueId, IPluginFactory* factory)
    : AudioEffectX(audioMaster, 0, 0), processor(owned(processor)), controller(owned(controller)), factory(factory)
{
    if (componentClassId)
        std::memcpy(this->componentClassId, componentClassId, sizeof(TUID));
    setUniqueID(vst2UniqueId);
    canProcessReplacing(true);
    programsAreChunks(true);
    processData.processMode = kRealtime;
    processData.inputParameterChanges = &inputChanges;
    processData.outputParameterChanges = &outputChanges;
    processData.processContext = &processContext;

    if (getHostVendor() == kCockosVendor)
    {
        cockosHost = 1;
        maxNameLength = kCockosNameLength;
    }
}

Vst2Wrapper::~Vst2Wrapper()
{
    shutDown();
    unitInfo = nullptr;
    controller = nullptr;
    component = nullptr;
    processor = nullptr;
    factory = nullptr;
}

void Vst2Wrapper::close()
{
    // While the wrapper is still whole: the processor's threads may call its
    // host context until processing stops.
    shutDown();
}

void Vst2Wrapper::shutDown()
{
    setEditor(nullptr); // the view goes before the controller it belongs to

    if (active)
    {
        guard.lock();
        deactivate();
        guard.unlock();
    }
    if (componentsConnected)
    {
        FUnknownPtr<IConnectionPoint> componentPoint(component);
        FUnknownPtr<IConnectionPoint> controllerPoint(controller);
        if (componentPoint && controllerPoint)
        {
            componentPoint->disconnect(controllerPoint);
            controllerPoint->disconnect(componentPoint);
        }
        componentsConnected = false;
    }
    if (controller)
    {
        controller->setComponentHandler(nullptr);
        if (controllerInitialized)
            controller->terminate();
        controllerInitialized = false;
    }
    if (component && componentInitialized)
        component->terminate();
    componentInitialized = false;
}

bool Vst2Wrapper::init()
{
    if (!processor)
        return false;
    component = FUnknownPtr<IComponent>(processor);
    if (!component)
        return false;

    if (component->initialize(static_cast<IHostApplication*>(this)) != kResultOk)
        return false;
    componentInitialized = true;

    if (controller)
    {
        // A single-component plug-in is its own controller: initialise it once.
        FUnknownPtr<IEditController> componentAsController(component);
        if (componentAsController.get() != controller.get())
        {
            if (controller->initialize(static_cast<IHostApplication*>(this)) != kResultOk)
                return false;
            controllerInitialized = true;
        }
        controller->setComponentHandler(this);

        FUnknownPtr<IConnectionPoint> componentPoint(component);
        FUnknownPtr<IConnectionPoint> controllerPoint(controller);
        if (componentPoint && controllerPoint)
        {
            componentPoint->connect(controllerPoint);
            controllerPoint->connect(componentPoint);
            componentsConnected = true;
        }

        MemoryStream state;
        if (component->getState(&state) == kResultOk)
        {
            state.seek(0, IBStream::kIBSeekSet, nullptr);
            controller->setComponentState(&state);
        }
        unitInfo = FUnknownPtr<IUnitInfo>(controller);
    }

    if (processor->canProcessSampleSize(kSample32) == kResultTrue)
        vst3SampleSize = kSample32;
    else if (processor->canProcessSampleSize(kSample64) == kResultTrue)
        vst3SampleSize = kSample64;
    else
        return false;
    canDoubleReplacing(processor->canProcessSampleSize(kSample64) == kResultTrue);
    setInitialDelay(static_cast<VstInt32>(std::min<uint32>(processor->getLatencySamples(), 0x7FFFFFFF)));
    noTail(processor->getTailSamples() == kNoTail);

    if (!setupBuses())
        return false;
    setupParameters();
    setupPrograms();
    setupProcessing();

    if (controller && EditorWrapper::hasEditor(controller))
        setEditor(new EditorWrapper(this, controller, runLoop));
    return true;
}

bool Vst2Wrapper::setupBuses()
{
    auto setupDirection = [this](BusDirection direction)
    {
        int32 channels = 0;
        const int32 busCount = component->getBusCount(kAudio, direction);
        for (int32 bus = 0; bus < busCount; ++bus)
        {
            BusInfo info{};
            const bool main =
                component->getBusInfo(kAudio, direction, bus, info) == kResultOk && info.busType == kMain && bus == 0;
            if (main)
                channels = info.channelCount;
            // VST 2 has one set of pins: the first main bus; the others stay off.
            component->activateBus(kAudio, direction, bus, main);
        }
        return channels;
    };
    inputChannels = setupDirection(kInput);
    outputChannels = setupDirection(kOutput);
    if (outputChannels <= 0)
        return false;

    setNumInputs(inputChannels);
    setNumOutputs(outputChannels);
    fillArrangement(inputArrangement, inputChannels);
    fillArrangement(outputArrangement, outputChannels);

    inputBus.numChannels = inputChannels;
    outputBus.numChannels = outputChannels;
    processData.numInputs = inputChannels > 0 ? 1 : 0;
    processData.inputs = inputChannels > 0 ? &inputBus : nullptr;
    processData.numOutputs = 1;
    processData.outputs = &outputBus;
    pointers32.assign(inputChannels + outputChannels, nullptr);
    pointers64.assign(inputChannels + outputChannels, nullptr);
    return true;
}

bool Vst2Wrapper::createComponents(IPluginFactory* factory, const TUID componentClassId,
                                   IPtr<IAudioProcessor>& processor, IPtr<IEditController>& controller)
{
    if (!factory)
        return false;
    IAudioProcessor* created = nullptr;
    if (factory->createInstance(componentClassId, IAudioProcessor::iid, reinterpret_cast<void**>(&created)) !=
        kResultOk)
        return false;
    processor = owned(created);
    if (!processor)
        return false;

    controller = FUnknownPtr<IEditController>(processor);
    if (!controller)
    {
        FUnknownPtr<IComponent> component(processor);
        TUID controllerClassId;
        IEditController* separate = nullptr;
        if (component && component->getControllerClassId(controllerClassId) == kResultOk &&
            factory->createInstance(controllerClassId, IEditController::iid, reinterpret_cast<void**>(&separate)) ==
                kResultOk)
            controller = owned(separate);
    }
    return true;
}

void Vst2Wrapper::describeClass(IPluginFactory* factory, const TUID componentClassId)
{
    FUnknownPtr<IPluginFactory2> factory2(factory);
    if (!factory2)
        return;
    PFactoryInfo factoryInfo;
    if (factory2->getFactoryInfo(&factoryInfo) == kResultOk)
        setVendorName(factoryInfo.vendor);
    for (int32 i = 0; i < factory2->countClasses(); ++i)
    {
        PClassInfo2 classInfo;
        if (factory2->getClassInfo2(i, &classInfo) != kResultOk ||
            std::memcmp(classInfo.cid, componentClassId, sizeof(TUID)) != 0)
            continue;
        setSubCategories(classInfo.subCategories);
        setEffectName(classInfo.name);
        setEffectVersion(classInfo.version);
        if (classInfo.vendor[0] != 0)
            setVendorName(classInfo.vendor);
        break;
    }
}

void Vst2Wrapper::setVendorName(const char* name)
{
    copyUtf8(name, vendorName, sizeof(vendorName) - 1);
}

void Vst2Wrapper::setEffectName(const char* name)
{
    copyUtf8(name, effectName, sizeof(effectName) - 1);
}

void Vst2Wrapper::setSubCategories(const char* categories)
{
    copyUtf8(categories, subCategories, sizeof(subCategories) - 1);
    if (std::strstr(subCategories, "Instrument"))
        isSynth(true);
}

void Vst2Wrapper::setEffectVersion(const char* version)
{
    vendorVersion = parseVersion(version);
}

// ---------------------------------------------------------------------------
// Identity and capabilities

bool Vst2Wrapper::getEffectName(char* name)
{
    return copyIdentity(name, effectName, abi::kEffectNameSize - 1);
}

bool Vst2Wrapper::getVendorString(char* text)
{
    return copyIdentity(text, vendorName, abi::kVendorStringSize - 1);
}

bool Vst2Wrapper::getProductString(char* text)
{
    return copyIdentity(text, effectName, abi::kVendorStringSize - 1);
}

VstInt32 Vst2Wrapper::getVendorVersion()
{
    return vendorVersion;
}

VstInt32 Vst2Wrapper::getPlugCategory()
{
    // The first matching sub-category decides, most specific first.
    struct Match
    {
        const char* word;
        VstInt32 category;
    };
    static const Match matches[] = {
        {"Analyzer", abi::kPlugCategAnalysis},   {"Delay", abi::kPlugCategRoomFx},
        {"Reverb", abi::kPlugCategRoomFx},       {"Dynamics", abi::kPlugCategMastering},
        {"Mastering", abi::kPlugCategMastering}, {"Restoration", abi::kPlugCategRestoration},
        {"Generator", abi::kPlugCategGenerator}, {"Spatial", abi::kPlugCategSpacializer},
        {"Fx", abi::kPlugCategEffect},           {"Instrument", abi::kPlugCategSynth},
    };
    for (const Match& match : matches)
        if (std::strstr(subCategories, match.word))
            return match.category;
    return abi::kPlugCategUnknown;
}

VstIntPtr Vst2Wrapper::canDo(char* text)
{
    if (equalsIgnoringCase(text, "hasCockosExtensions"))
        return kCockosExtensionsAnswer;
    if (equalsIgnoringCase(text, "receiveVstTimeInfo"))
        return 1;
    if (equalsIgnoringCase(text, "bypass"))
        return bypassParameterId != kNoParamId ? 1 : -1;
    if (equalsIgnoringCase(text, "sendVstEvents") || equalsIgnoringCase(text, "sendVstMidiEvent") ||
        equalsIgnoringCase(text, "receiveVstEvents") || equalsIgnoringCase(text, "receiveVstMidiEvent"))
        return -1;
    return 0;
}

VstIntPtr Vst2Wrapper::vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    const bool classIdQuery = (index == CCONST('s', 't', 'C', 'A') || index == CCONST('s', 't', 'C', 'a')) &&
                              value == CCONST('F', 'U', 'I', 'D');
    if (classIdQuery)
    {
        if (!ptr)
            return 0;
        std::memcpy(ptr, componentClassId, sizeof(TUID));
        return 1;
    }
    if (isCockosQuery(index))
        return answerCockosQuery(index, value, ptr, opt);
    return AudioEffectX::vendorSpecific(index, value, ptr, opt);
}

VstInt32 Vst2Wrapper::getGetTailSize()
{
    return static_cast<VstInt32>(std::min<uint32>(processor->getTailSamples(), 0x7FFFFFFF));
}

// ---------------------------------------------------------------------------
// Pins

bool Vst2Wrapper::getPinProperties(BusDirection direction, VstInt32 index, VstPinProperties* properties)
{
    const int32 channels = direction == kInput ? inputChannels : outputChannels;
    if (index < 0 || index >= channels)
        return false;
    BusInfo info{};
    if (component->getBusInfo(kAudio, direction, 0, info) != kResultOk)
        return false;
    std::memset(properties, 0, sizeof(*properties));
    utf16ToUtf8(info.name, properties->label, abi::kMaxLabelLen - 1);
    properties->flags = abi::kPinIsActive;
    if (channels <= 2)
        properties->flags |= abi::kPinUseSpeaker;
    if (channels == 2 && index == 0)
        properties->flags |= abi::kPinIsStereo; // first of the pair
    const abi::SpeakerArrangement8& arrangement = direction == kInput ? inputArrangement : outputArrangement;
    properties->arrangementType = arrangement.type;
    if (index < 8)
        copyUtf8(arrangement.speakers[index].name, properties->shortLabel, abi::kMaxShortLabelLen - 1);
    return true;
}

bool Vst2Wrapper::getInputProperties(VstInt32 index, VstPinProperties* properties)
{
    return getPinProperties(kInput, index, properties);
}

bool Vst2Wrapper::getOutputProperties(VstInt32 index, VstPinProperties* properties)
{
    return getPinProperties(kOutput, index, properties);
}

bool Vst2Wrapper::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output)
{
    return arrangementMatches(input, inputChannels) && arrangementMatches(output, outputChannels);
}

bool Vst2Wrapper::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output)
{
    *input = reinterpret_cast<VstSpeakerArrangement*>(&inputArrangement);
    *output = reinterpret_cast<VstSpeakerArrangement*>(&outputArrangement);
    return true;
}

// ---------------------------------------------------------------------------
// The host context

tresult PLUGIN_API Vst2Wrapper::getName(String128 name)
{
    if (!name)
        return kInvalidArgument;
    char product[abi::kVendorStringSize];
    if (!getHostProductString(product))
        return kResultFalse;
    utf8ToUtf16(product, name, 128);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::createInstance(TUID cid, TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(cid, IMessage::iid) && FUnknownPrivate::iidEqual(iid, IMessage::iid))
    {
        *obj = static_cast<IMessage*>(new HostMessage);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(cid, IAttributeList::iid) && FUnknownPrivate::iidEqual(iid, IAttributeList::iid))
    {
        *obj = static_cast<IAttributeList*>(new HostAttributeList);
        return kResultOk;
    }
    return kResultFalse;
}

std::string PLUGIN_API Vst2Wrapper::getHostVendor()
{
    char vendor[kHostStringSize] = {};
    if (callHost(abi::audioMasterGetVendorString, 0, 0, vendor) == 0)
        return std::string();
    vendor[kHostStringSize - 1] = 0;
    return vendor;
}

int32 PLUGIN_API Vst2Wrapper::getHostVendorVersion()
{
    return AudioEffectX::getHostVendorVersion();
}

tresult PLUGIN_API Vst2Wrapper::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IHostApplication::iid))
        *obj = static_cast<IHostApplication*>(this);
    else if (FUnknownPrivate::iidEqual(iid, IComponentHandler::iid))
        *obj = static_cast<IComponentHandler*>(this);
    else if (FUnknownPrivate::iidEqual(iid, IUnitHandler::iid))
        *obj = static_cast<IUnitHandler*>(this);
#if SMTG_OS_LINUX
    else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid))
        *obj = static_cast<Linux::ITimerHandler*>(this);
#endif
    else if (FUnknownPrivate::iidEqual(iid, IVst3ToVst2Wrapper::iid))
        *obj = static_cast<IVst3ToVst2Wrapper*>(this);
    else if (FUnknownPrivate::iidEqual(iid, IWrapperInterface::iid))
        *obj = static_cast<IWrapperInterface*>(this);
    else
    {
        *obj = nullptr;
        return kNoInterface;
    }
    return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
