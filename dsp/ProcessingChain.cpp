#include "dsp/ProcessingChain.h"

#include "dsp/MatrixRamp.h"

#include <algorithm>
#include <limits>
#include <new>
#include <type_traits>

namespace {

// Block size the chain is ready for before the first prepare().
constexpr uint32_t kBlockBeforeSetup = 1024; // samples

// A ramp's step: the change over a segment divided by its length, entry by
// entry. Segments are mostly a power of two long, whose reciprocal is exact:
// the product then has the quotient's bits at a fraction of a division's cost.
StereoMatrix stepOver(const StereoMatrix& change, uint32_t n)
{
    if ((n & (n - 1)) != 0)
        return change / double(n);
    const double reciprocal = 1.0 / double(n);
    return {change.m00 * reciprocal, change.m01 * reciprocal, change.m10 * reciprocal, change.m11 * reciprocal};
}

// Audio runs up to this many segments behind the parameter work, so that the
// independent ramps of neighbouring segments can overlap in the processor.
constexpr uint32_t kSegmentsQueued = 8;

// Up to N objects made anew in every block. The storage is not cleared up
// front: each object is constructed as it is added, and most blocks add one.
template <typename T, uint32_t N>
class Batch
{
    static_assert(std::is_trivially_destructible_v<T>, "objects are dropped without destruction");

public:
    Batch() {}
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    T& add() { return *::new (static_cast<void*>(storage + count++ * sizeof(T))) T; }
    T* data() { return std::launder(reinterpret_cast<T*>(storage)); }
    T& operator[](uint32_t k) { return data()[k]; }
    uint32_t size() const { return count; }
    bool full() const { return count == N; }
    void clear() { count = 0; }

private:
    alignas(T) unsigned char storage[N * sizeof(T)];
    uint32_t count = 0;
};

} // namespace

// The audio work of one segment, decided by the parameter work before it.
struct ProcessingChain::SegmentAudio
{
    StereoMatrix highStart, highStep, lowStart, lowStep;
    uint32_t start, end; // frames
    bool bands;          // the crossover path; otherwise the full band
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

ProcessingChain::ProcessingChain()
{
    std::fill(std::begin(applied), std::end(applied), std::numeric_limits<double>::quiet_NaN());
    // Ready for a host that processes before any setup (buffers grow in prepare).
    prepare(kBlockBeforeSetup, path.crossover.sampleRate);
}

bool ProcessingChain::prepare(uint32_t maxSamples, uint32_t sampleRate)
{
    return path.crossover.prepare(maxSamples, sampleRate) && automation.reserve(maxSamples);
}

void ProcessingChain::applyParameter(uint32_t id, double value)
{
    stage(id, value);
    path.updateOperators();
}

void ProcessingChain::stage(uint32_t id, double value)
{
    if (id >= kNumParams)
        return;
    // Re-applying an unchanged value would recompute the same operator state;
    // the crossover frequency is the exception: every call restarts its glide.
    if (value == applied[id] && id != kCrossoverFreq)
        return;
    applied[id] = value;
    path.stageParameter(id, value);
    highCurrent = lowCurrent = false;
}

void ProcessingChain::rebuildBandMatrices()
{
    path.buildBandMatrices(highMatrix, lowMatrix);
    highCurrent = lowCurrent = true;
}

void ProcessingChain::refreshBandMatrices(bool withLow)
{
    if (withLow && !lowCurrent)
        rebuildBandMatrices();
    else if (!highCurrent)
    {
        highMatrix = path.buildHighBandMatrix();
        highCurrent = true;
    }
}

void ProcessingChain::beginBlock(uint32_t numSamples)
{
    automation.reset(numSamples);
}

double ProcessingChain::endValue(uint32_t id) const
{
    const BreakpointList& list = automation.list(id);
    return list[list.size() - 1].value;
}

void ProcessingChain::applyAutomatedAt(uint32_t cut, bool jumps)
{
    for (uint32_t a = 0; a < automation.automatedCount(); ++a)
    {
        const uint32_t id = automation.automatedId(a);
        const Breakpoint& point = automation.list(id)[cut];
        stage(id, jumps ? point.effective() : point.value);
    }
    path.updateOperators();
}

bool ProcessingChain::anyJumpAt(uint32_t k) const
{
    for (uint32_t a = 0; a < automation.automatedCount(); ++a)
        if (automation.list(automation.automatedId(a))[k].hasJump())
            return true;
    return false;
}

void ProcessingChain::process(const StereoIo<float>* io, uint32_t numSamples)
{
    runSegments(io, numSamples);
}

void ProcessingChain::process(const StereoIo<double>* io, uint32_t numSamples)
{
    runSegments(io, numSamples);
}

template <typename Sample>
void ProcessingChain::runSegments(const StereoIo<Sample>* audio, uint32_t numSamples)
{
    automation.resample();
    const StereoIo<Sample> io = audio ? *audio : StereoIo<Sample>{};

    // The crossover splits the block once, with the settings in force before
    // the segments; blocks longer than its buffers are split a chunk at a time.
    BandChunk chunk;
    const bool split = audio && path.crossoverOn && path.crossover.capacity > 0;
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
        for (uint32_t q = 0; q < queued.size(); ++q)
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
    for (uint32_t k = 0; k + 1 < cuts.size(); ++k)
    {
        const uint32_t s = cuts[k];
        const uint32_t e = cuts[k + 1];

        // With the crossover off only the high band is heard; the low-band
        // matrix need only be current when the block ends.
        const bool lowHeard = path.crossoverOn;
        const bool lastSegment = k + 2 == cuts.size();

        StereoMatrix highStart = highMatrix;
        StereoMatrix lowStart = lowMatrix;
        if (automation.mayJumpAt(k) && anyJumpAt(k))
        {
            // The matrices after the jumps start the segment; the end
            // matrices below replace them.
            applyAutomatedAt(k, true);
            refreshBandMatrices(lowHeard);
            highStart = highMatrix;
            if (lowHeard)
                lowStart = lowMatrix;
        }
        applyAutomatedAt(k + 1, false);
        refreshBandMatrices(lowHeard || lastSegment);

        const uint32_t n = e - s;
        if (n < 1 || !audio)
            continue;

        SegmentAudio& segment = queued.add();
        segment.start = s;
        segment.end = e;
        segment.bypass = path.bypass;
        segment.bands = split && !path.bypass;
        segment.highStart = highStart;
        segment.highStep = stepOver(highMatrix - highStart, n);
        if (segment.bands)
        {
            segment.lowStart = lowStart;
            segment.lowStep = stepOver(lowMatrix - lowStart, n);
            if (path.solo == 2)
                segment.highStart = segment.highStep = StereoMatrix::zero();
            else if (path.solo == 1)
                segment.lowStart = segment.lowStep = StereoMatrix::zero();
        }
        if (queued.full())
            play();
    }
    play();
}

template <typename Sample>
void ProcessingChain::playSegment(const SegmentAudio& segment, BandChunk& chunk, const StereoIo<Sample>& io,
                                  uint32_t numSamples, bool split)
{
    const uint32_t s = segment.start, e = segment.end, n = e - s;
    if (segment.bands)
    {
        rampBands(chunk, io, numSamples, s, e, segment.highStart, segment.highStep, segment.lowStart, segment.lowStep);
        return;
    }
    // The full-band ramps went side by side; what is left is a bypassed segment.
    MatrixRamp::bypassCopy(path.inputMS, path.outputMS, n, io.inL + s, io.inR + s, io.outL + s, io.outR + s);
    if (split)
        splitUpTo(chunk, io, numSamples, e - 1); // keep the filters running through the block
}

template <typename Sample>
void ProcessingChain::splitUpTo(BandChunk& chunk, const StereoIo<Sample>& io, uint32_t numSamples, uint32_t position)
{
    Dsp::Crossover& crossover = path.crossover;
    while (position >= chunk.end && chunk.end < numSamples)
    {
        const uint32_t length = std::min(numSamples - chunk.end, crossover.capacity);
        const int done = crossover.split(static_cast<int>(length), io.inL + chunk.end, io.inR + chunk.end);
        if (done <= 0)
            return;
        chunk.start = chunk.end;
        chunk.end += static_cast<uint32_t>(done);
    }
}

template <typename Sample>
void ProcessingChain::rampBands(BandChunk& chunk, const StereoIo<Sample>& io, uint32_t numSamples, uint32_t s,
                                uint32_t e, StereoMatrix highRamp, const StereoMatrix& highStep, StereoMatrix lowRamp,
                                const StereoMatrix& lowStep)
{
    const Dsp::Crossover& crossover = path.crossover;
    for (uint32_t position = s; position < e;)
    {
        splitUpTo(chunk, io, numSamples, position);
        if (position < chunk.start || position >= chunk.end)
        {
            // No band data (the crossover refused the block): leave it dry.
            MatrixRamp::bypassCopy(false, false, e - position, io.inL + position, io.inR + position, io.outL + position,
                                   io.outR + position);
            return;
        }
        const uint32_t length = std::min(e, chunk.end) - position;
        const uint32_t at = position - chunk.start;
        MatrixRamp::rampAndSum(highRamp, highStep, lowRamp, lowStep, length, crossover.highBand[0] + at,
                               crossover.highBand[1] + at, crossover.lowBand[0] + at, crossover.lowBand[1] + at,
                               io.outL + position, io.outR + position);
        position += length;
    }
}
