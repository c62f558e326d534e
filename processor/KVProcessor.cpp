#include "processor/KVProcessor.h"

#include "params/ScopeBlock.h"
#include "params/StateRecord.h"
#include "params/curves.h"
#include "params/ids.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <mutex>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

std::atomic<int32_t> sampleSizeOverride{kAnySampleSize};

namespace {

const char16 kInputBusName[] = u"AudioInput";
const char16 kOutputBusName[] = u"AudioOutput";

// The index of a speaker's channel is the number of speakers the arrangement
// holds below it.
int32 channelIndexOf(SpeakerArrangement arrangement, Speaker speaker)
{
    return static_cast<int32>(__builtin_popcountll(arrangement & (speaker - 1)));
}

// Block size the chain is ready for before the first setupProcessing.
constexpr uint32_t kChainBlockBeforeSetup = 1024; // samples

// Highest rate a setup may ask for; far above any audio interface, low enough
// that per-sample filter design stays meaningful.
constexpr double kMaximumSampleRate = 1536000.0; // Hz

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
    // Ready for a host that processes before any setup (buffers grow in setupProcessing).
    std::fill(std::begin(appliedValues), std::end(appliedValues), std::numeric_limits<double>::quiet_NaN());
    signal.crossover.prepare(kChainBlockBeforeSetup, signal.crossover.sampleRate);
    prepareChain(kChainBlockBeforeSetup);
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
    if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
        return kResultFalse;
    // About ten scope blocks a second at any rate: keep one frame in sampleRate / 5120.
    const double decimation = std::trunc(setup.sampleRate * 0.0001953125);
    if (decimation >= 0.0 && decimation <= double(UINT32_MAX))
        scopeFeed.decimation = static_cast<uint32_t>(decimation);
    // A block size or rate no buffer or filter can be made for.
    if (setup.maxSamplesPerBlock < 1 || !(setup.sampleRate >= 1.0 && setup.sampleRate <= kMaximumSampleRate))
        return kResultFalse;
    const auto wholeHertz = static_cast<uint32_t>(std::trunc(setup.sampleRate));
    if (!signal.crossover.prepare(static_cast<uint32_t>(setup.maxSamplesPerBlock), wholeHertz) ||
        !prepareChain(static_cast<uint32_t>(setup.maxSamplesPerBlock)))
        return kResultFalse;
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
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
    StateRecord::Reader reader(state);
    uint32_t id = 0;
    double value = 0.0;
    while (reader.next(id, value))
    {
        values[id] = value;
        applyParameter(id, value);
    }
    rebuildBandMatrices();
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

void KVProcessor::applyParameter(uint32 id, double normalized)
{
    signal.applyParameter(id, normalized);
    noteApplied(id, normalized);
}

void KVProcessor::applyAllParameters()
{
    for (uint32 id : ids)
        applyParameter(id, values[id]);
    rebuildBandMatrices();
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

void KVProcessor::rebuildBandMatrices()
{
    signal.buildBandMatrices(highMatrix, lowMatrix);
}
