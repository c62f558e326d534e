// The processor's per-block work: parameter changes cut the block into
// segments; at every cut the automated parameters take their values there and
// the band matrices are rebuilt; inside a segment the matrices ramp linearly
// from one cut to the next while each sample pair is multiplied by them.

#include "processor/KVProcessor.h"

#include "dsp/MatrixRamp.h"
#include "params/curves.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

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

// A ramp's step: the change over a segment divided by its length, entry by
// entry. Segments are mostly a power of two long, whose reciprocal is exact:
// the product then has the quotient's bits at a fraction of a division's cost.
StereoMatrix stepOver(const StereoMatrix& change, uint32 n)
{
    if ((n & (n - 1)) != 0)
        return change / double(n);
    const double reciprocal = 1.0 / double(n);
    return {change.m00 * reciprocal, change.m01 * reciprocal, change.m10 * reciprocal, change.m11 * reciprocal};
}

// Audio runs up to this many segments behind the parameter work, so that the
// independent ramps of neighbouring segments can overlap in the processor.
constexpr uint32 kSegmentsQueued = 8;

// Up to N objects made anew in every block. The storage is not cleared up
// front: each object is constructed as it is added, and most blocks add one.
template <typename T, uint32 N>
class Batch
{
    static_assert(std::is_trivially_destructible_v<T>, "objects are dropped without destruction");

public:
    Batch() {}
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    T& add() { return *::new (static_cast<void*>(storage + count++ * sizeof(T))) T; }
    T* data() { return std::launder(reinterpret_cast<T*>(storage)); }
    T& operator[](uint32 k) { return data()[k]; }
    uint32 size() const { return count; }
    bool full() const { return count == N; }
    void clear() { count = 0; }

private:
    alignas(T) unsigned char storage[N * sizeof(T)];
    uint32 count = 0;
};

} // namespace

// The four channels a block works on; all null when it has no audio to process.
template <typename Sample>
struct KVProcessor::StereoIo
{
    const Sample* inL = nullptr;
    const Sample* inR = nullptr;
    Sample* outL = nullptr;
    Sample* outR = nullptr;
};

// The audio work of one segment, decided by the parameter work before it.
struct KVProcessor::SegmentAudio
{
    StereoMatrix highStart, highStep, lowStart, lowStep;
    uint32 start, end; // frames
    bool bands;        // the crossover path; otherwise the full band
    bool bypass;

    // The input ramped to the output by the high-band matrix alone.
    bool rampsFullBand() const { return !bands && !bypass; }
    // Written field by field: a temporary copied in whole would be read back
    // in pieces that straddle its stores, which stalls every segment.
    template <typename Sample>
    void fullBand(const StereoIo<Sample>& io, MatrixRamp::Segment<Sample>& ramp) const
    {
        ramp.start = highStart;
        ramp.step = highStep;
        ramp.n = end - start;
        ramp.inL = io.inL + start;
        ramp.inR = io.inR + start;
        ramp.outL = io.outL + start;
        ramp.outR = io.outR + start;
    }
};

bool KVProcessor::prepareChain(uint32 maxSamples)
{
    return automation.reserve(maxSamples);
}

tresult PLUGIN_API KVProcessor::process(ProcessData& data)
{
    DenormalsOff denormalsOff;
    const uint32 numSamples = data.numSamples > 0 ? static_cast<uint32>(data.numSamples) : 0;

    automation.reset(numSamples);
    takeParameterChanges(data.inputParameterChanges);
    reportPendingChanges(data.outputParameterChanges);
    automation.resample();

    if (data.symbolicSampleSize == kSample64)
        runSegments<Sample64>(data, numSamples);
    else
        runSegments<Sample32>(data, numSamples);
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

        if ((records[id].flags & ParamFlags::kCanAutomate) && automation.ready())
        {
            automation.addList(id, values[id], numPoints,
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

void KVProcessor::applyAutomatedAt(uint32 cut, bool jumps)
{
    for (uint32 a = 0; a < automation.automatedCount(); ++a)
    {
        const uint32 id = automation.automatedId(a);
        const Breakpoint& point = automation.list(id)[cut];
        const double value = jumps ? point.effective() : point.value;
        values[id] = value;
        // Re-applying an unchanged value would recompute the same operator
        // state; the crossover frequency is the exception: every call
        // restarts its glide.
        if (value == appliedValues[id] && id != kCrossoverFreq)
            continue;
        signal.stageParameter(id, value); // the paths hold values in 0..1
        noteApplied(id, value);
    }
    signal.updateOperators();
}

void KVProcessor::currentBandMatrices(StereoMatrix& high, StereoMatrix* low)
{
    if (low && !builtLowCurrent)
    {
        signal.buildBandMatrices(builtHigh, builtLow);
        builtHighCurrent = builtLowCurrent = true;
    }
    else if (!builtHighCurrent)
    {
        builtHigh = signal.buildHighBandMatrix();
        builtHighCurrent = true;
    }
    high = builtHigh;
    if (low)
        *low = builtLow;
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

template <typename Sample>
void KVProcessor::runSegments(ProcessData& data, uint32 numSamples)
{
    StereoIo<Sample> io;
    const bool audio = (data.symbolicSampleSize == kSample32 || data.symbolicSampleSize == kSample64) &&
                       bindAudio(data, numSamples, io);

    // The crossover splits the block once, with the settings in force before
    // the segments; blocks longer than its buffers are split a chunk at a time.
    BandChunk chunk;
    const bool split = audio && signal.crossoverOn && signal.crossover.capacity > 0;
    if (split)
        splitUpTo(chunk, io, numSamples, 0);

    Batch<SegmentAudio, kSegmentsQueued> queued;
    Batch<MatrixRamp::Segment<Sample>, kSegmentsQueued> ramps;
    auto playRamps = [&]
    {
        if (ramps.size() == 0)
            return;
        MatrixRamp::rampSideBySide(ramps.data(), ramps.size());
        ramps.clear();
    };
    auto play = [&]
    {
        // Neighbouring full-band ramps run side by side (see rampSideBySide).
        for (uint32 q = 0; q < queued.size(); ++q)
        {
            if (queued[q].rampsFullBand())
            {
                queued[q].fullBand(io, ramps.add());
                continue;
            }
            playRamps();
            playSegment(queued[q], chunk, io, numSamples, split);
        }
        playRamps();
        queued.clear();
    };

    const SplitOffsets& cuts = automation.splitOffsets();
    for (uint32 k = 0; k + 1 < cuts.size(); ++k)
    {
        const uint32 s = cuts[k];
        const uint32 e = cuts[k + 1];

        // With the crossover off only the high band is heard; the low-band
        // matrix need only be current when the block ends.
        const bool lowHeard = signal.crossoverOn;
        const bool lastSegment = k + 2 == cuts.size();

        StereoMatrix highStart = highMatrix;
        StereoMatrix lowStart = lowMatrix;
        if (automation.mayJumpAt(k) && anyJumpAt(k))
        {
            applyAutomatedAt(k, true);
            currentBandMatrices(highStart, lowHeard ? &lowStart : nullptr);
        }
        applyAutomatedAt(k + 1, false);
        currentBandMatrices(highMatrix, lowHeard || lastSegment ? &lowMatrix : nullptr);

        const uint32 n = e - s;
        if (n < 1 || !audio)
            continue;

        SegmentAudio& segment = queued.add();
        segment.start = s;
        segment.end = e;
        segment.bypass = signal.bypass;
        segment.bands = split && !signal.bypass;
        segment.highStart = highStart;
        segment.highStep = stepOver(highMatrix - highStart, n);
        if (segment.bands)
        {
            segment.lowStart = lowStart;
            segment.lowStep = stepOver(lowMatrix - lowStart, n);
            if (signal.solo == 2)
                segment.highStart = segment.highStep = StereoMatrix::zero();
            else if (signal.solo == 1)
                segment.lowStart = segment.lowStep = StereoMatrix::zero();
        }
        if (queued.full())
            play();
    }
    play();

    // Scope and output format hold for the whole block, and every segment's
    // output is final once written: one feed takes the block's frames in order.
    if (audio && signal.scopeOn)
        scopeFeed.feed(io.outL, io.outR, numSamples, signal.outputMS);
}

template <typename Sample>
void KVProcessor::playSegment(const SegmentAudio& segment, BandChunk& chunk, const StereoIo<Sample>& io,
                              uint32 numSamples, bool split)
{
    const uint32 s = segment.start, e = segment.end, n = e - s;
    if (segment.bands)
    {
        rampBands(chunk, io, numSamples, s, e, segment.highStart, segment.highStep, segment.lowStart, segment.lowStep);
        return;
    }
    // The full-band ramps went side by side; what is left is a bypassed segment.
    MatrixRamp::bypassCopy(signal.inputMS, signal.outputMS, n, io.inL + s, io.inR + s, io.outL + s, io.outR + s);
    if (split)
        splitUpTo(chunk, io, numSamples, e - 1); // keep the filters running through the block
}

bool KVProcessor::anyJumpAt(uint32 k) const
{
    for (uint32 a = 0; a < automation.automatedCount(); ++a)
        if (automation.list(automation.automatedId(a))[k].hasJump())
            return true;
    return false;
}

template <typename Sample>
void KVProcessor::splitUpTo(BandChunk& chunk, const StereoIo<Sample>& io, uint32 numSamples, uint32 position)
{
    Dsp::Crossover& crossover = signal.crossover;
    while (position >= chunk.end && chunk.end < numSamples)
    {
        const uint32 length = std::min(numSamples - chunk.end, crossover.capacity);
        const int done = crossover.split(static_cast<int>(length), io.inL + chunk.end, io.inR + chunk.end);
        if (done <= 0)
            return;
        chunk.start = chunk.end;
        chunk.end += static_cast<uint32>(done);
    }
}

template <typename Sample>
void KVProcessor::rampBands(BandChunk& chunk, const StereoIo<Sample>& io, uint32 numSamples, uint32 s, uint32 e,
                            StereoMatrix highRamp, const StereoMatrix& highStep, StereoMatrix lowRamp,
                            const StereoMatrix& lowStep)
{
    const Dsp::Crossover& crossover = signal.crossover;
    for (uint32 position = s; position < e;)
    {
        splitUpTo(chunk, io, numSamples, position);
        if (position < chunk.start || position >= chunk.end)
        {
            // No band data (the crossover refused the block): leave it dry.
            MatrixRamp::bypassCopy(false, false, e - position, io.inL + position, io.inR + position, io.outL + position,
                                   io.outR + position);
            return;
        }
        const uint32 length = std::min(e, chunk.end) - position;
        const uint32 at = position - chunk.start;
        MatrixRamp::rampAndSum(highRamp, highStep, lowRamp, lowStep, length, crossover.highBand[0] + at,
                               crossover.highBand[1] + at, crossover.lowBand[0] + at, crossover.lowBand[1] + at,
                               io.outL + position, io.outR + position);
        position += length;
    }
}
