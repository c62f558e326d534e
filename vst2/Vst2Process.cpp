// The wrapper as the processor's host: processing set-up and activation on
// the host's main thread, and the blocks on its audio thread.

#include "vst2/Vst2Wrapper.h"

#include <algorithm>
#include <new>

namespace Steinberg {
namespace Vst {

namespace abi = Vst2Abi;

// ---------------------------------------------------------------------------
// Set-up and activation (host's main thread)

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

// Outside process, on the main thread.
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

} // namespace Vst
} // namespace Steinberg
