#include "processor/KVProcessor.h"

#include "params/ScopeBlock.h"
#include "params/StateRecord.h"
#include "params/curves.h"
#include "params/ids.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <xmmintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const char16 kInputBusName[] = STR16("AudioInput");
const char16 kOutputBusName[] = STR16("AudioOutput");

// The index of a speaker's channel is the number of speakers the arrangement
// holds below it.
int32 channelIndexOf(SpeakerArrangement arrangement, Speaker speaker)
{
    return static_cast<int32>(__builtin_popcountll(arrangement & (speaker - 1)));
}

// Highest rate a setup may ask for; far above any audio interface, low enough
// that per-sample filter design stays meaningful.
constexpr double kMaximumSampleRate = 1536000.0; // Hz

// Denormal operands cost a hundred cycles each on many x86 cores; flush them
// to zero while the block runs and give the host back its own mode.
class DenormalsOff
{
public:
    DenormalsOff() : saved(_mm_getcsr()) { _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero); }
    ~DenormalsOff() { _mm_setcsr(saved); }
    DenormalsOff(const DenormalsOff&) = delete;
    DenormalsOff& operator=(const DenormalsOff&) = delete;

private:
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved;
};

template <typename Sample>
Sample** channelsOf(AudioBusBuffers& bus);

template <>
Sample32** channelsOf<Sample32>(AudioBusBuffers& bus)
{
    return bus.channelBuffers32;
}

template <>
Sample64** channelsOf<Sample64>(AudioBusBuffers& bus)
{
    return bus.channelBuffers64;
}

// Channel `index` of a bus, or null when the host's bus cannot provide it.
template <typename Sample>
Sample* channelAt(AudioBusBuffers& bus, int32 index)
{
    Sample** channels = channelsOf<Sample>(bus);
    if (!channels || index < 0 || index >= bus.numChannels)
        return nullptr;
    return channels[index];
}

} // namespace

KVProcessor::KVProcessor()
{
    setControllerClass(FUID::fromTUID(KalviorIds::kControllerUID));
    for (size_t i = 0; i < table.ids.size() && i < kNumParams; ++i)
    {
        const uint32 id = table.ids[i];
        ids[i] = id;
        records[id] = table.record(id);
        values[id] = records[id].defaultNormalized;
    }
}

KVProcessor::~KVProcessor()
{
    scope.stop(); // a host may release us without stopping processing
}

tresult PLUGIN_API KVProcessor::initialize(FUnknown* context)
{
    // A context that is already set, or buses already added, mean a second call.
    if (getHostContext() || !audioInputs.empty() || !audioOutputs.empty())
        return kResultFalse;
    const tresult result = AudioEffect::initialize(context);
    if (result != kResultOk)
        return result;
    addAudioInput(kInputBusName, SpeakerArr::kStereo);
    addAudioOutput(kOutputBusName, SpeakerArr::kStereo);
    applyAllParameters();
    return kResultOk;
}

tresult PLUGIN_API KVProcessor::terminate()
{
    std::lock_guard<std::mutex> lock(connectionMutex);
    return AudioEffect::terminate();
}

tresult PLUGIN_API KVProcessor::connect(IConnectionPoint* other)
{
    std::lock_guard<std::mutex> lock(connectionMutex);
    return AudioEffect::connect(other);
}

tresult PLUGIN_API KVProcessor::disconnect(IConnectionPoint* other)
{
    std::lock_guard<std::mutex> lock(connectionMutex);
    return AudioEffect::disconnect(other);
}

tresult PLUGIN_API KVProcessor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns != 1 || numOuts != 1)
        return kResultFalse;
    if (!inputs || !outputs)
        return kInvalidArgument;
    if (inputs[0] != SpeakerArr::kStereo || outputs[0] != SpeakerArr::kStereo)
        return kResultFalse;
    return AudioEffect::setBusArrangements(inputs, numIns, outputs, numOuts);
}

tresult PLUGIN_API KVProcessor::canProcessSampleSize(int32 symbolicSampleSize)
{
    const int32_t only = sampleSizeOverride.load();
    if (symbolicSampleSize == kSample32)
        return only == kOnly64Bit ? kResultFalse : kResultTrue;
    if (symbolicSampleSize == kSample64)
        return only == kOnly32Bit ? kResultFalse : kResultTrue;
    return kResultFalse;
}

tresult PLUGIN_API KVProcessor::setupProcessing(ProcessSetup& setup)
{
    // Everything is checked before anything changes: a refused setup leaves
    // the last one in force.
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    // A block size or rate no buffer or filter can be made for.
    if (setup.maxSamplesPerBlock < 1 || !(setup.sampleRate >= 1.0 && setup.sampleRate <= kMaximumSampleRate))
        return kResultFalse;
    const auto wholeHertz = static_cast<uint32_t>(std::trunc(setup.sampleRate));
    if (!chain.prepare(static_cast<uint32_t>(setup.maxSamplesPerBlock), wholeHertz))
        return kResultFalse;
    // About ten scope blocks a second at any rate: keep one frame in sampleRate / 5120.
    scopeFeed.decimation = static_cast<uint32_t>(std::trunc(setup.sampleRate * 0.0001953125));
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API KVProcessor::setActive(TBool state)
{
    SpeakerArrangement input = 0;
    SpeakerArrangement output = 0;
    if (getBusArrangement(kInput, 0, input) != kResultTrue || getBusArrangement(kOutput, 0, output) != kResultTrue)
        return kResultFalse;
    inputChannels[0] = channelIndexOf(input, Speaker(kSpeakerL));
    inputChannels[1] = channelIndexOf(input, Speaker(kSpeakerR));
    outputChannels[0] = channelIndexOf(output, Speaker(kSpeakerL));
    outputChannels[1] = channelIndexOf(output, Speaker(kSpeakerR));
    inputSilenceMask = (uint64(1) << inputChannels[0]) | (uint64(1) << inputChannels[1]);
    outputSilenceMask = (uint64(1) << outputChannels[0]) | (uint64(1) << outputChannels[1]);
    return AudioEffect::setActive(state);
}

tresult PLUGIN_API KVProcessor::setProcessing(TBool state)
{
    if (state)
        scope.start();
    else
        scope.stop();
    return kResultOk;
}

tresult PLUGIN_API KVProcessor::setState(IBStream* state)
{
    if (!state)
        return kInvalidArgument;
    StateRecord::readAll(state,
                         [this](uint32_t id, double value)
                         {
                             values[id] = value;
                             applyParameter(id, value);
                         });
    chain.rebuildBandMatrices();
    return kResultOk;
}

tresult PLUGIN_API KVProcessor::getState(IBStream* state)
{
    if (!state)
        return kInvalidArgument;
    for (uint32 id : ids)
    {
        // A stream that refuses data must not pass for a saved state.
        if (!StateRecord::write(state, id, values[id]))
            return kResultFalse;
    }
    return kResultOk;
}

void KVProcessor::applyAllParameters()
{
    for (uint32 id : ids)
        applyParameter(id, values[id]);
    chain.rebuildBandMatrices();
}

void KVProcessor::applyProgram(uint32 programParamId, double value)
{
    OutputChange changes[kNumParams];
    const int count = programChanges(table, programParamId, value, changes);
    for (int i = 0; i < count; ++i)
    {
        const OutputChange& change = changes[i];
        if (change.id >= kNumParams)
            continue;
        values[change.id] = change.value;
        pendingOutputChanges.push(change);
    }
    applyAllParameters();
}

void KVProcessor::sendScopeData(const uint8_t* block)
{
    // Held throughout, so terminate cannot take the host context or the peer away mid-send.
    std::lock_guard<std::mutex> lock(connectionMutex);
    IMessage* message = allocateMessage();
    if (!message)
        return; // no host to make messages: the block is dropped
    ScopeBlock::write(*message, block);
    if (peerConnection)
        peerConnection->notify(message);
    message->release();
}

// ---------------------------------------------------------------------------
// The audio thread: the host's block and queues into the chain

tresult PLUGIN_API KVProcessor::process(ProcessData& data)
{
    DenormalsOff denormalsOff;
    const uint32 numSamples = data.numSamples > 0 ? static_cast<uint32>(data.numSamples) : 0;

    chain.beginBlock(numSamples);
    takeParameterChanges(data.inputParameterChanges);
    reportPendingChanges(data.outputParameterChanges);

    if (data.symbolicSampleSize == kSample64)
        processAudio<Sample64>(data, numSamples);
    else
        processAudio<Sample32>(data, numSamples);

    // The host sees each automated parameter at the value its block ended on.
    for (uint32 a = 0; a < chain.automatedCount(); ++a)
    {
        const uint32 id = chain.automatedId(a);
        values[id] = chain.endValue(id);
    }
    return kResultOk;
}

void KVProcessor::takeParameterChanges(IParameterChanges* changes)
{
    if (!changes)
        return;
    const int32 numQueues = changes->getParameterCount();
    for (int32 q = 0; q < numQueues; ++q)
    {
        IParamValueQueue* queue = changes->getParameterData(q);
        if (!queue)
            continue;
        const int32 numPoints = queue->getPointCount();
        const uint32 id = queue->getParameterId();
        if (numPoints <= 0 || id >= kNumParams)
            continue;

        if ((records[id].flags & ParamFlags::kCanAutomate) && chain.takesAutomation())
        {
            chain.automate(id, values[id], numPoints,
                           [queue](int32 j, uint32& offset, double& value)
                           {
                               int32 hostOffset = 0;
                               if (queue->getPoint(j, hostOffset, value) != kResultOk)
                                   return false;
                               offset = hostOffset > 0 ? static_cast<uint32>(hostOffset) : 0;
                               return true;
                           });
            continue;
        }

        // Taken at once: only the last point counts.
        int32 offset = 0;
        ParamValue value = 0.0;
        if (queue->getPoint(numPoints - 1, offset, value) != kResultOk)
            continue;
        values[id] = Curves::clampNormalized(value, values[id]);
        if (records[id].flags & ParamFlags::kIsProgramChange)
            applyProgram(id, values[id]);
        else
            applyParameter(id, values[id]);
    }
}

void KVProcessor::reportPendingChanges(IParameterChanges* outputChanges)
{
    if (!outputChanges)
        return; // they wait for a call that brings a list
    while (!pendingOutputChanges.empty())
    {
        const OutputChange& change = pendingOutputChanges.front();
        int32 queueIndex = 0;
        IParamValueQueue* queue = outputChanges->addParameterData(change.id, queueIndex);
        int32 pointIndex = 0;
        if (!queue || queue->addPoint(0, change.value, pointIndex) != kResultOk)
            break; // the host's list is full: keep this change and the rest, in order
        pendingOutputChanges.pop();
    }
}

template <typename Sample>
void KVProcessor::processAudio(ProcessData& data, uint32 numSamples)
{
    StereoIo<Sample> io;
    const bool audio = (data.symbolicSampleSize == kSample32 || data.symbolicSampleSize == kSample64) &&
                       bindAudio(data, numSamples, io);
    chain.process(audio ? &io : nullptr, numSamples);

    // Scope and output format hold for the whole block, and every segment's
    // output is final once written: one feed takes the block's frames in order.
    if (audio && chain.signalPath().scopeOn)
        scopeFeed.feed(io.outL, io.outR, numSamples, chain.signalPath().outputMS);
}

template <typename Sample>
bool KVProcessor::bindAudio(ProcessData& data, uint32 numSamples, StereoIo<Sample>& io)
{
    if (data.numInputs == 0 || data.numOutputs == 0)
        return false; // a parameter flush
    if (!data.outputs || data.numOutputs < 0)
        return false;
    AudioBusBuffers& output = data.outputs[0];
    Sample* outL = channelAt<Sample>(output, outputChannels[0]);
    Sample* outR = channelAt<Sample>(output, outputChannels[1]);
    if (!outL || !outR)
        return false;
    AudioBusBuffers* input = data.inputs && data.numInputs > 0 ? &data.inputs[0] : nullptr;
    const Sample* inL = input ? channelAt<Sample>(*input, inputChannels[0]) : nullptr;
    const Sample* inR = input ? channelAt<Sample>(*input, inputChannels[1]) : nullptr;

    const bool silent = !inL || !inR || (input->silenceFlags & inputSilenceMask) == inputSilenceMask;
    if (silent)
    {
        // An input the host flags silent, or cannot give us, makes silence.
        if (outL != inL)
            std::memset(outL, 0, numSamples * sizeof(Sample));
        if (outR != inR)
            std::memset(outR, 0, numSamples * sizeof(Sample));
        output.silenceFlags = outputSilenceMask;
        return false;
    }
    output.silenceFlags = 0;
    io = {inL, inR, outL, outR};
    return true;
}
