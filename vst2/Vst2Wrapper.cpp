#include "vst2/Vst2Wrapper.h"

#include "vst2/EditorWrapper.h"
#include "vst2/Vst2Text.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace Steinberg {
namespace Vst {

namespace abi = Vst2Abi;

namespace {

constexpr int32 kChunkHeaderSize = 16;      // two 64-bit sizes
constexpr int32 kInputPointsPerQueue = 4;   // VST 2 changes all arrive at offset 0
constexpr int32 kOutputPointsPerQueue = 64; // room for the processor's reports

void writeLittleEndian64(uint8_t* out, int64 value)
{
    const auto bits = static_cast<uint64>(value);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int64 readLittleEndian64(const uint8_t* in)
{
    uint64 bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<uint64>(in[i]) << (8 * i);
    return static_cast<int64>(bits);
}

double clampNormalized(double value)
{
    return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
}

// An identity text the factory did not give is reported as missing, so the
// host falls back to its own, rather than as an empty text.
bool copyIdentity(char* dest, const char* text, int32 maxBytes)
{
    if (!text[0])
        return false;
    Vst2Text::copy(dest, text, maxBytes);
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

void Vst2Wrapper::setupParameters()
{
    parameterMap.clear();
    slotsById.clear();
    bypassParameterId = kNoParamId;
    programParameterId = kNoParamId;
    programParameterSteps = 0;

    const int32 count = controller ? std::max(controller->getParameterCount(), 0) : 0;
    idBySlot.assign(count, kNoParamId);
    vst2IndexBySlot.assign(count, -1);
    for (int32 slot = 0; slot < count; ++slot)
    {
        ParameterInfo info{};
        if (controller->getParameterInfo(slot, info) != kResultOk)
            continue;
        idBySlot[slot] = info.id;
        slotsById.emplace_back(info.id, slot);

        if (info.flags & ParameterInfo::kIsBypass)
        {
            if (bypassParameterId == kNoParamId)
                bypassParameterId = info.id;
        }
        else if (info.flags & ParameterInfo::kIsProgramChange)
        {
            if (programParameterId == kNoParamId && info.unitId == kRootUnitId)
            {
                programParameterId = info.id;
                programParameterSteps = info.stepCount;
            }
        }
        else if (!(info.flags & ParameterInfo::kIsReadOnly))
        {
            vst2IndexBySlot[slot] = static_cast<int32>(parameterMap.size());
            parameterMap.push_back(ParameterMapEntry{info.id, slot});
        }
    }
    std::sort(slotsById.begin(), slotsById.end());
    numParams = cEffect.numParams = static_cast<VstInt32>(parameterMap.size());

    toProcessor.resize(count);
    toController.resize(count);
    fromProcessor.resize(count);
    currentValues.reset(count > 0 ? new std::atomic<double>[count] : nullptr);
    for (int32 slot = 0; slot < count; ++slot)
        currentValues[slot].store(idBySlot[slot] != kNoParamId ? controller->getParamNormalized(idBySlot[slot]) : 0.0);

    inputChanges.setCapacity(count, kInputPointsPerQueue);
    outputChanges.setCapacity(count, kOutputPointsPerQueue);
}

void Vst2Wrapper::setupPrograms()
{
    numPrograms = 0;
    programListId = kNoProgramListId;
    if (unitInfo)
    {
        ProgramListID rootList = kNoProgramListId;
        for (int32 i = 0; i < unitInfo->getUnitCount(); ++i)
        {
            UnitInfo unit{};
            if (unitInfo->getUnitInfo(i, unit) == kResultOk && unit.id == kRootUnitId)
            {
                rootList = unit.programListId;
                break;
            }
        }
        for (int32 i = 0; rootList != kNoProgramListId && i < unitInfo->getProgramListCount(); ++i)
        {
            ProgramListInfo list{};
            if (unitInfo->getProgramListInfo(i, list) == kResultOk && list.id == rootList)
            {
                programListId = rootList;
                numPrograms = std::max(list.programCount, 0);
                break;
            }
        }
    }
    // Without a program list the program change parameter's steps are the programs.
    if (programListId == kNoProgramListId && programParameterId != kNoParamId && programParameterSteps > 0)
        numPrograms = programParameterSteps + 1;
    if (programParameterId == kNoParamId)
        numPrograms = 0; // nothing could select them
    cEffect.numPrograms = numPrograms;

    const int32 slot = slotOf(programParameterId);
    curProgram = slot >= 0 ? programOfValue(currentValues[slot].load()) : 0;
}

bool Vst2Wrapper::setupProcessing()
{
    ProcessSetup setup{};
    setup.processMode = kRealtime;
    setup.symbolicSampleSize = vst3SampleSize;
    setup.maxSamplesPerBlock = blockSize;
    setup.sampleRate = sampleRate;
    setupValid = processor->setupProcessing(setup) == kResultOk;

    try
    {
        const size_t frames = static_cast<size_t>(std::max(blockSize, 1));
        scratch32[0].assign(frames * inputChannels, 0.f);
        scratch32[1].assign(frames * outputChannels, 0.f);
        scratch64[0].assign(frames * inputChannels, 0.0);
        scratch64[1].assign(frames * outputChannels, 0.0);
        scratchFrames = static_cast<int32>(frames);
    }
    catch (const std::bad_alloc&)
    {
        for (auto& s : scratch32)
            std::vector<float>().swap(s);
        for (auto& s : scratch64)
            std::vector<double>().swap(s);
        scratchFrames = 0;
        setupValid = false;
    }

    processData.processMode = kRealtime;
    processData.symbolicSampleSize = vst3SampleSize;
    processContext.sampleRate = sampleRate;
    return setupValid;
}

template <typename Change>
void Vst2Wrapper::reconfigure(Change&& change)
{
    guard.lock();
    const bool wasActive = active;
    if (wasActive)
        deactivate();
    change();
    setupProcessing();
    if (wasActive)
        activate();
    guard.unlock();
}

void Vst2Wrapper::activate()
{
    if (active || !setupValid)
        return;
    component->setActive(true);
    processor->setProcessing(true);
    active = true;
}

void Vst2Wrapper::deactivate()
{
    if (!active)
        return;
    active = false;
    processor->setProcessing(false);
    component->setActive(false);
}

void Vst2Wrapper::setVendorName(const char* name)
{
    Vst2Text::copy(vendorName, name, sizeof(vendorName) - 1);
}

void Vst2Wrapper::setEffectName(const char* name)
{
    Vst2Text::copy(effectName, name, sizeof(effectName) - 1);
}

void Vst2Wrapper::setSubCategories(const char* categories)
{
    Vst2Text::copy(subCategories, categories, sizeof(subCategories) - 1);
    if (std::strstr(subCategories, "Instrument"))
        isSynth(true);
}

void Vst2Wrapper::setEffectVersion(const char* version)
{
    vendorVersion = parseVersion(version);
}

// ---------------------------------------------------------------------------
// Activation and settings (host's main thread)

void Vst2Wrapper::resume()
{
    guard.lock();
    if (!setupValid)
        setupProcessing();
    activate();
    guard.unlock();
}

void Vst2Wrapper::suspend()
{
    guard.lock();
    deactivate();
    guard.unlock();
}

void Vst2Wrapper::setSampleRate(float newSampleRate)
{
    if (!(newSampleRate > 0.f) || newSampleRate == sampleRate)
        return;
    reconfigure([&] { sampleRate = newSampleRate; });
}

void Vst2Wrapper::setBlockSize(VstInt32 newBlockSize)
{
    if (newBlockSize <= 0 || newBlockSize == blockSize)
        return;
    reconfigure([&] { blockSize = newBlockSize; });
}

bool Vst2Wrapper::setProcessPrecision(VstInt32 precision)
{
    int32 size;
    if (precision == abi::kProcessPrecision32)
        size = kSample32;
    else if (precision == abi::kProcessPrecision64)
        size = kSample64;
    else
        return false;
    if (processor->canProcessSampleSize(size) != kResultTrue)
        return false;
    if (size != vst3SampleSize)
        reconfigure([&] { vst3SampleSize = size; });
    return true;
}

// ---------------------------------------------------------------------------
// Processing (audio thread)

void Vst2Wrapper::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    processHostBlock(inputs, outputs, sampleFrames, false);
}

void Vst2Wrapper::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames)
{
    processHostBlock(inputs, outputs, sampleFrames, false);
}

void Vst2Wrapper::processAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    processHostBlock(inputs, outputs, sampleFrames, true);
}

template <typename HostSample>
void Vst2Wrapper::clearOutputs(HostSample** outputs, int32 frames)
{
    for (int32 ch = 0; ch < outputChannels; ++ch)
        std::fill(outputs[ch], outputs[ch] + frames, HostSample(0));
}

template <typename HostSample>
void Vst2Wrapper::processHostBlock(HostSample** inputs, HostSample** outputs, int32 frames, bool accumulate)
{
    if (frames <= 0 || !outputs)
        return;
    for (int32 ch = 0; ch < outputChannels; ++ch)
        if (!outputs[ch])
            return;
    bool inputsValid = inputChannels == 0 || inputs;
    for (int32 ch = 0; inputsValid && ch < inputChannels; ++ch)
        inputsValid = inputs[ch] != nullptr;

    if (!guard.enterProcess())
    {
        if (!accumulate)
            clearOutputs(outputs, frames);
        return;
    }
    if (!active || !setupValid || !inputsValid || scratchFrames <= 0)
    {
        if (!accumulate)
            clearOutputs(outputs, frames);
        guard.leaveProcess();
        return;
    }

    constexpr int32 hostSize = sizeof(HostSample) == sizeof(double) ? kSample64 : kSample32;
    updateProcessContext();
    for (int32 done = 0; done < frames;)
    {
        // The processor was promised at most blockSize samples per call.
        const int32 slice = std::min(frames - done, scratchFrames);
        const bool firstSlice = done == 0;
        if (hostSize == vst3SampleSize && !accumulate)
        {
            if constexpr (sizeof(HostSample) == sizeof(double))
                processDirect(inputs, outputs, done, slice, firstSlice, pointers64.data());
            else
                processDirect(inputs, outputs, done, slice, firstSlice, pointers32.data());
        }
        else if (vst3SampleSize == kSample64)
            processConverted(inputs, outputs, done, slice, accumulate, firstSlice, scratch64, pointers64.data());
        else
            processConverted(inputs, outputs, done, slice, accumulate, firstSlice, scratch32, pointers32.data());
        done += slice;
        processContext.projectTimeSamples += slice;
    }
    guard.leaveProcess();
}

template <typename Sample>
void Vst2Wrapper::attachBuses(Sample** pointers)
{
    if constexpr (sizeof(Sample) == sizeof(double))
    {
        inputBus.channelBuffers64 = pointers;
        outputBus.channelBuffers64 = pointers + inputChannels;
    }
    else
    {
        inputBus.channelBuffers32 = pointers;
        outputBus.channelBuffers32 = pointers + inputChannels;
    }
}

template <typename Sample>
void Vst2Wrapper::processDirect(Sample** inputs, Sample** outputs, int32 offset, int32 frames, bool firstSlice,
                                Sample** pointers)
{
    for (int32 ch = 0; ch < inputChannels; ++ch)
        pointers[ch] = inputs[ch] + offset;
    for (int32 ch = 0; ch < outputChannels; ++ch)
        pointers[inputChannels + ch] = outputs[ch] + offset;
    attachBuses(pointers);
    callProcessor(frames, firstSlice);
}

template <typename HostSample, typename ProcessorSample>
void Vst2Wrapper::processConverted(HostSample** inputs, HostSample** outputs, int32 offset, int32 frames,
                                   bool accumulate, bool firstSlice, std::vector<ProcessorSample>* scratch,
                                   ProcessorSample** pointers)
{
    for (int32 ch = 0; ch < inputChannels; ++ch)
    {
        ProcessorSample* to = scratch[0].data() + static_cast<size_t>(ch) * scratchFrames;
        const HostSample* from = inputs[ch] + offset;
        for (int32 i = 0; i < frames; ++i)
            to[i] = static_cast<ProcessorSample>(from[i]);
        pointers[ch] = to;
    }
    for (int32 ch = 0; ch < outputChannels; ++ch)
        pointers[inputChannels + ch] = scratch[1].data() + static_cast<size_t>(ch) * scratchFrames;
    attachBuses(pointers);

    callProcessor(frames, firstSlice);

    for (int32 ch = 0; ch < outputChannels; ++ch)
    {
        const ProcessorSample* from = pointers[inputChannels + ch];
        HostSample* to = outputs[ch] + offset;
        if (accumulate)
            for (int32 i = 0; i < frames; ++i)
                to[i] += static_cast<HostSample>(from[i]);
        else
            for (int32 i = 0; i < frames; ++i)
                to[i] = static_cast<HostSample>(from[i]);
    }
}

void Vst2Wrapper::callProcessor(int32 frames, bool firstSlice)
{
    inputChanges.clear();
    if (firstSlice)
        deliverPendingChanges();
    outputChanges.clear();
    processData.numSamples = frames;
    processData.symbolicSampleSize = vst3SampleSize;
    inputBus.silenceFlags = 0;
    outputBus.silenceFlags = 0;
    processor->process(processData);
    collectOutputChanges();
}

void Vst2Wrapper::deliverPendingChanges()
{
    toProcessor.drain(
        [this](int32 slot, double value)
        {
            int32 queueIndex = 0;
            int32 pointIndex = 0;
            if (IParamValueQueue* queue = inputChanges.addParameterData(idBySlot[slot], queueIndex))
                queue->addPoint(0, value, pointIndex);
            currentValues[slot].store(value, std::memory_order_relaxed);
        });
}

void Vst2Wrapper::collectOutputChanges()
{
    const int32 queueCount = outputChanges.getParameterCount();
    for (int32 i = 0; i < queueCount; ++i)
    {
        IParamValueQueue* queue = outputChanges.getParameterData(i);
        const int32 points = queue ? queue->getPointCount() : 0;
        int32 offset = 0;
        ParamValue value = 0.0;
        if (points <= 0 || queue->getPoint(points - 1, offset, value) != kResultTrue)
            continue;
        const ParamID id = queue->getParameterId();
        const int32 slot = slotOf(id);
        if (slot < 0 || hasInputChange(id))
            continue; // the host's change of the same block came after the processor's own
        currentValues[slot].store(value, std::memory_order_relaxed);
        fromProcessor.push(slot, value);
    }
}

bool Vst2Wrapper::hasInputChange(ParamID id)
{
    for (int32 i = 0; i < inputChanges.getParameterCount(); ++i)
    {
        IParamValueQueue* queue = inputChanges.getParameterData(i);
        if (queue && queue->getParameterId() == id && queue->getPointCount() > 0)
            return true;
    }
    return false;
}

void Vst2Wrapper::updateProcessContext()
{
    processContext.sampleRate = sampleRate;
    const VstTimeInfo* time =
        getTimeInfo(abi::kPpqPosValid | abi::kTempoValid | abi::kBarsValid | abi::kCyclePosValid | abi::kTimeSigValid);
    if (!time)
    {
        processContext.state = 0;
        return; // keep counting samples from the last known position
    }
    uint32 state = 0;
    if (time->flags & abi::kTransportPlaying)
        state |= ProcessContext::kPlaying;
    if (time->flags & abi::kTransportCycleActive)
        state |= ProcessContext::kCycleActive;
    if (time->flags & abi::kTransportRecording)
        state |= ProcessContext::kRecording;
    processContext.projectTimeSamples = static_cast<TSamples>(time->samplePos);
    if (time->flags & abi::kPpqPosValid)
    {
        state |= ProcessContext::kProjectTimeMusicValid;
        processContext.projectTimeMusic = time->ppqPos;
    }
    if (time->flags & abi::kTempoValid)
    {
        state |= ProcessContext::kTempoValid;
        processContext.tempo = time->tempo;
    }
    if (time->flags & abi::kBarsValid)
    {
        state |= ProcessContext::kBarPositionValid;
        processContext.barPositionMusic = time->barStartPos;
    }
    if (time->flags & abi::kCyclePosValid)
    {
        state |= ProcessContext::kCycleValid;
        processContext.cycleStartMusic = time->cycleStartPos;
        processContext.cycleEndMusic = time->cycleEndPos;
    }
    if (time->flags & abi::kTimeSigValid)
    {
        state |= ProcessContext::kTimeSigValid;
        processContext.timeSigNumerator = time->timeSigNumerator;
        processContext.timeSigDenominator = time->timeSigDenominator;
    }
    processContext.state = state;
}

void Vst2Wrapper::flushPendingChanges()
{
    if (active || !toProcessor.hasPending())
        return; // while active the audio thread hands them over within a block
    guard.lock();
    ProcessData flush = processData;
    flush.numSamples = 0;
    flush.numInputs = 0;
    flush.numOutputs = 0;
    flush.inputs = nullptr;
    flush.outputs = nullptr;
    inputChanges.clear();
    deliverPendingChanges();
    outputChanges.clear();
    processor->process(flush);
    collectOutputChanges();
    inputChanges.clear();
    guard.unlock();
}

// ---------------------------------------------------------------------------
// Parameters

int32 Vst2Wrapper::slotOf(ParamID id) const
{
    const auto it =
        std::lower_bound(slotsById.begin(), slotsById.end(), std::make_pair(id, std::numeric_limits<int32>::min()));
    return it != slotsById.end() && it->first == id ? it->second : -1;
}

int32 Vst2Wrapper::programOfValue(double normalized) const
{
    const int32 steps = programParameterSteps > 0 ? programParameterSteps : numPrograms - 1;
    if (steps <= 0 || numPrograms <= 0)
        return 0;
    const auto program = static_cast<int32>(std::floor(clampNormalized(normalized) * steps + 0.5));
    return std::min(program, numPrograms - 1);
}

void Vst2Wrapper::queueChange(int32 slot, double value)
{
    if (slot < 0)
        return;
    toProcessor.push(slot, value);
    toController.push(slot, value);
}

bool Vst2Wrapper::getParameterInfo(VstInt32 index, ParameterInfo& info)
{
    if (!controller || index < 0 || index >= static_cast<VstInt32>(parameterMap.size()))
        return false;
    info = ParameterInfo{};
    return controller->getParameterInfo(parameterMap[index].vst3Index, info) == kResultOk;
}

double Vst2Wrapper::currentValue(VstInt32 index) const
{
    if (index < 0 || index >= static_cast<VstInt32>(parameterMap.size()))
        return 0.0;
    const int32 slot = parameterMap[index].vst3Index;
    double pending = 0.0;
    if (toProcessor.pendingValue(slot, pending))
        return pending;
    return currentValues[slot].load(std::memory_order_relaxed);
}

void Vst2Wrapper::setParameter(VstInt32 index, float value)
{
    if (index < 0 || index >= static_cast<VstInt32>(parameterMap.size()) || !std::isfinite(value))
        return;
    queueChange(parameterMap[index].vst3Index, clampNormalized(value));
}

float Vst2Wrapper::getParameter(VstInt32 index)
{
    return static_cast<float>(currentValue(index));
}

// An unknown index gets an empty text: copying null writes just the terminator.
void Vst2Wrapper::getParameterLabel(VstInt32 index, char* label)
{
    ParameterInfo info;
    Vst2Text::copy(label, getParameterInfo(index, info) ? info.units : nullptr, abi::kMaxParamStrLen);
}

void Vst2Wrapper::getParameterDisplay(VstInt32 index, char* text)
{
    writeParameterDisplay(index, currentValue(index), text);
}

void Vst2Wrapper::getParameterName(VstInt32 index, char* text)
{
    writeParameterName(index, text, abi::kMaxParamStrLen);
}

bool Vst2Wrapper::writeParameterDisplay(VstInt32 index, ParamValue normalized, char* text)
{
    ParameterInfo info;
    String128 display{};
    const bool shown =
        getParameterInfo(index, info) && controller->getParamStringByValue(info.id, normalized, display) == kResultOk;
    Vst2Text::copy(text, shown ? display : nullptr, abi::kMaxParamStrLen);
    return shown;
}

void Vst2Wrapper::writeParameterName(VstInt32 index, char* text, int32 maxBytes)
{
    ParameterInfo info;
    const char16* name = nullptr;
    if (getParameterInfo(index, info))
        name = Vst2Text::utf8Length(info.title) > maxBytes ? info.shortTitle : info.title;
    Vst2Text::copy(text, name, maxBytes);
}

bool Vst2Wrapper::canParameterBeAutomated(VstInt32 index)
{
    ParameterInfo info;
    return getParameterInfo(index, info) && (info.flags & ParameterInfo::kCanAutomate);
}

bool Vst2Wrapper::string2parameter(VstInt32 index, char* text)
{
    ParameterInfo info;
    if (!text || !getParameterInfo(index, info))
        return false;
    char16 utf16[1024];
    Vst2Text::toUtf16(utf16, text, 1023);
    ParamValue value = 0.0;
    if (controller->getParamValueByString(info.id, utf16, value) != kResultOk || !std::isfinite(value))
        return false;
    setParameterAutomated(index, static_cast<float>(clampNormalized(value)));
    return true;
}

bool Vst2Wrapper::getParameterProperties(VstInt32 index, abi::ParameterProperties* properties)
{
    ParameterInfo info;
    if (!properties || !getParameterInfo(index, info))
        return false;
    std::memset(properties, 0, sizeof(*properties));
    Vst2Text::copy(properties->label, info.title, abi::kMaxLabelLen - 1);
    Vst2Text::copy(properties->shortLabel, info.shortTitle, abi::kMaxShortLabelLen - 1);
    if (info.stepCount == 0)
        properties->flags = abi::kParameterCanRamp;
    else if (info.stepCount == 1)
        properties->flags = abi::kParameterIsSwitch;
    else
    {
        properties->flags = abi::kParameterUsesIntegerMinMax;
        properties->minInteger = 0;
        properties->maxInteger = info.stepCount;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Programs

void Vst2Wrapper::setProgram(VstInt32 program)
{
    const int32 slot = slotOf(programParameterId);
    if (slot < 0 || program < 0 || program >= numPrograms)
        return;
    const int32 steps = programParameterSteps > 0 ? programParameterSteps : numPrograms - 1;
    curProgram = program;
    queueChange(slot, steps > 0 ? clampNormalized(static_cast<double>(program) / steps) : 0.0);
}

void Vst2Wrapper::getProgramName(char* name)
{
    if (!getProgramNameIndexed(0, curProgram, name))
        *name = 0;
}

bool Vst2Wrapper::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index, char* text)
{
    if (index < 0 || index >= numPrograms)
        return false;
    String128 name{};
    bool found = false;
    if (unitInfo && programListId != kNoProgramListId)
        found = unitInfo->getProgramName(programListId, index, name) == kResultOk;
    else if (controller && programParameterId != kNoParamId && programParameterSteps > 0)
        found = controller->getParamStringByValue(
                    programParameterId, static_cast<double>(index) / programParameterSteps, name) == kResultOk;
    Vst2Text::copy(text, found ? name : nullptr, abi::kMaxProgNameLen);
    return found;
}

// ---------------------------------------------------------------------------
// Chunks

VstInt32 Vst2Wrapper::getChunk(void** data, bool /*isPreset*/)
{
    *data = nullptr;
    flushPendingChanges();
    onTimer(); // the controller's state may depend on its parameters

    MemoryStream componentState;
    if (component->getState(&componentState) != kResultOk)
        componentState.setSize(0);
    MemoryStream controllerState;
    if (!controller || controller->getState(&controllerState) != kResultOk)
        controllerState.setSize(0);

    const int64 componentSize = componentState.getSize();
    const int64 controllerSize = controllerState.getSize();
    const int64 total = kChunkHeaderSize + componentSize + controllerSize;
    if (componentSize + controllerSize == 0 || total > std::numeric_limits<VstInt32>::max())
        return 0;
    try
    {
        chunk.resize(static_cast<size_t>(total));
    }
    catch (const std::bad_alloc&)
    {
        return 0;
    }
    writeLittleEndian64(chunk.data(), componentSize);
    writeLittleEndian64(chunk.data() + 8, controllerSize);
    if (componentSize > 0)
        std::memcpy(chunk.data() + kChunkHeaderSize, componentState.getData(), static_cast<size_t>(componentSize));
    if (controllerSize > 0)
        std::memcpy(chunk.data() + kChunkHeaderSize + componentSize, controllerState.getData(),
                    static_cast<size_t>(controllerSize));
    *data = chunk.data();
    return static_cast<VstInt32>(total);
}

VstInt32 Vst2Wrapper::setChunk(void* data, VstInt32 byteSize, bool /*isPreset*/)
{
    if (!data || byteSize < kChunkHeaderSize)
        return 0;
    auto* bytes = static_cast<uint8_t*>(data);
    const int64 componentSize = readLittleEndian64(bytes);
    const int64 controllerSize = readLittleEndian64(bytes + 8);
    const int64 available = byteSize - kChunkHeaderSize;
    // A chunk whose sizes do not fit its length is refused whole.
    if (componentSize < 0 || controllerSize < 0 || componentSize > available ||
        controllerSize > available - componentSize)
        return 0;
    uint8_t* componentBytes = bytes + kChunkHeaderSize;
    uint8_t* controllerBytes = componentBytes + componentSize;

    // The audio thread stays out until the values the host sees are the loaded ones.
    guard.lock();
    // Changes queued before the load are obsolete.
    toProcessor.discard();
    toController.discard();
    fromProcessor.discard();
    MemoryStream componentState(componentBytes, componentSize);
    component->setState(&componentState);
    if (controller)
    {
        MemoryStream componentStateAgain(componentBytes, componentSize);
        controller->setComponentState(&componentStateAgain);
        MemoryStream controllerState(controllerBytes, controllerSize);
        controller->setState(&controllerState);
    }
    readValuesFromController();
    guard.unlock();
    return 0;
}

// ---------------------------------------------------------------------------
// Controller and host hand-over (host's editor/main thread)

void PLUGIN_API Vst2Wrapper::onTimer()
{
    if (!controller)
        return;
    toController.drain([this](int32 slot, double value) { controller->setParamNormalized(idBySlot[slot], value); });

    bool programChanged = false;
    fromProcessor.drain(
        [&](int32 slot, double value)
        {
            const ParamID id = idBySlot[slot];
            controller->setParamNormalized(id, value);
            if (vst2IndexBySlot[slot] >= 0)
                callHost(abi::audioMasterAutomate, vst2IndexBySlot[slot], 0, nullptr, static_cast<float>(value));
            if (id == programParameterId)
            {
                curProgram = programOfValue(value);
                programChanged = true;
            }
        });
    if (programChanged)
        updateDisplay();
}

void Vst2Wrapper::transferToController()
{
    onTimer();
}

void Vst2Wrapper::readValuesFromController()
{
    if (!controller)
        return;
    transferToController();
    for (size_t slot = 0; slot < idBySlot.size(); ++slot)
        if (idBySlot[slot] != kNoParamId)
            currentValues[slot].store(controller->getParamNormalized(idBySlot[slot]));
    const int32 programSlot = slotOf(programParameterId);
    if (programSlot >= 0)
        curProgram = programOfValue(currentValues[programSlot].load());
}

void Vst2Wrapper::idle()
{
    onTimer();
    runLoop.pump();
}

VstIntPtr Vst2Wrapper::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode == abi::effEditIdle || opcode == abi::effEditOpen)
        onTimer(); // the editor shows the values the host and the processor last set
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

tresult PLUGIN_API Vst2Wrapper::beginEdit(ParamID id)
{
    const int32 slot = slotOf(id);
    if (slot < 0)
        return kInvalidArgument;
    if (vst2IndexBySlot[slot] >= 0)
        AudioEffectX::beginEdit(vst2IndexBySlot[slot]);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::performEdit(ParamID id, ParamValue valueNormalized)
{
    const int32 slot = slotOf(id);
    if (slot < 0 || !std::isfinite(valueNormalized))
        return kInvalidArgument;
    const double value = clampNormalized(valueNormalized);
    toProcessor.push(slot, value);
    if (vst2IndexBySlot[slot] >= 0)
        callHost(abi::audioMasterAutomate, vst2IndexBySlot[slot], 0, nullptr, static_cast<float>(value));
    if (id == programParameterId)
    {
        curProgram = programOfValue(value);
        updateDisplay();
    }
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::endEdit(ParamID id)
{
    const int32 slot = slotOf(id);
    if (slot < 0)
        return kInvalidArgument;
    if (vst2IndexBySlot[slot] >= 0)
        AudioEffectX::endEdit(vst2IndexBySlot[slot]);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::restartComponent(int32 flags)
{
    tresult result = kResultFalse;
    if (flags & (kParamValuesChanged | kParamTitlesChanged))
    {
        readValuesFromController();
        updateDisplay();
        result = kResultOk;
    }
    if (flags & kLatencyChanged)
    {
        setInitialDelay(static_cast<VstInt32>(std::min<uint32>(processor->getLatencySamples(), 0x7FFFFFFF)));
        ioChanged();
        result = kResultOk;
    }
    if (flags & kIoChanged)
    {
        ioChanged();
        result = kResultOk;
    }
    return result;
}

tresult PLUGIN_API Vst2Wrapper::notifyUnitSelection(UnitID /*unitId*/)
{
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::notifyProgramListChange(ProgramListID /*listId*/, int32 /*programIndex*/)
{
    updateDisplay();
    return kResultOk;
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
    if (Vst2Text::equalsIgnoringCase(text, "receiveVstTimeInfo"))
        return 1;
    if (Vst2Text::equalsIgnoringCase(text, "bypass"))
        return bypassParameterId != kNoParamId ? 1 : -1;
    if (Vst2Text::equalsIgnoringCase(text, "sendVstEvents") || Vst2Text::equalsIgnoringCase(text, "sendVstMidiEvent") ||
        Vst2Text::equalsIgnoringCase(text, "receiveVstEvents") ||
        Vst2Text::equalsIgnoringCase(text, "receiveVstMidiEvent"))
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
    return AudioEffectX::vendorSpecific(index, value, ptr, opt);
}

VstInt32 Vst2Wrapper::getGetTailSize()
{
    return static_cast<VstInt32>(std::min<uint32>(processor->getTailSamples(), 0x7FFFFFFF));
}

bool Vst2Wrapper::setBypass(bool onOff)
{
    const int32 slot = slotOf(bypassParameterId);
    if (slot < 0)
        return false;
    queueChange(slot, onOff ? 1.0 : 0.0);
    return true;
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
    Vst2Text::copy(properties->label, info.name, abi::kMaxLabelLen - 1);
    properties->flags = abi::kPinIsActive;
    if (channels <= 2)
        properties->flags |= abi::kPinUseSpeaker;
    if (channels == 2 && index == 0)
        properties->flags |= abi::kPinIsStereo; // first of the pair
    const abi::SpeakerArrangement8& arrangement = direction == kInput ? inputArrangement : outputArrangement;
    properties->arrangementType = arrangement.type;
    if (index < 8)
        Vst2Text::copy(properties->shortLabel, arrangement.speakers[index].name, abi::kMaxShortLabelLen - 1);
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
    Vst2Text::toUtf16(name, product, 127);
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
    else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid))
        *obj = static_cast<Linux::ITimerHandler*>(this);
    else if (FUnknownPrivate::iidEqual(iid, IVst3ToVst2Wrapper::iid))
        *obj = static_cast<IVst3ToVst2Wrapper*>(this);
    else
    {
        *obj = nullptr;
        return kNoInterface;
    }
    return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
