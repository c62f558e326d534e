#pragma once

#include "dsp/Breakpoints.h"
#include "dsp/SignalPath.h"
#include "dsp/StereoMatrix.h"
#include "params/ParamId.h"

#include <cstdint>

// The four channels a block works on. Outputs may be the inputs.
template <typename Sample>
struct StereoIo
{
    const Sample* inL = nullptr;
    const Sample* inR = nullptr;
    Sample* outL = nullptr;
    Sample* outR = nullptr;
};

// The per-block signal work: the automated parameters' points cut the block
// into segments; at every cut the parameters take their values there and the
// band matrices are rebuilt; inside a segment the matrices ramp linearly from
// one cut to the next while each sample pair is multiplied by them.
//
// Values enter one way, applyParameter (or a breakpoint list), already in 0..1.
// The chain keeps the value it last applied per ID and the band matrices of
// those values: its one cache of the signal state.
class ProcessingChain
{
public:
    ProcessingChain();
    ProcessingChain(const ProcessingChain&) = delete;
    ProcessingChain& operator=(const ProcessingChain&) = delete;

    // Sizes the crossover's band buffers and the automation lists for blocks
    // of up to maxSamples at sampleRate (whole hertz); false when memory is short.
    bool prepare(uint32_t maxSamples, uint32_t sampleRate);

    // Applies one value in 0..1 to the signal path; the band matrices follow
    // at the next cut or rebuildBandMatrices().
    void applyParameter(uint32_t id, double value);
    // Brings the band matrices in line with the settings at once, with no ramp.
    void rebuildBandMatrices();

    // Step 1 of a block: no automation, the cuts 0 and numSamples.
    void beginBlock(uint32_t numSamples);
    // Whether breakpoint lists can be taken (the lists have storage).
    bool takesAutomation() const { return automation.ready(); }
    // Builds the breakpoint list of `id` from the value before the block and
    // the points of a host queue (see BreakpointList::build).
    template <typename ReadPoint>
    void automate(uint32_t id, double previousValue, int32_t numPoints, ReadPoint&& readPoint)
    {
        automation.addList(id, previousValue, numPoints, readPoint);
    }

    // Runs the segments of the block begun by beginBlock(): the parameters
    // move, and the audio is processed when `io` is given (null: a call that
    // only moves parameters). The crossover needs its band buffers prepared.
    void process(const StereoIo<float>* io, uint32_t numSamples);
    void process(const StereoIo<double>* io, uint32_t numSamples);

    // The parameters automated in the last block and the value each ended on.
    uint32_t automatedCount() const { return automation.automatedCount(); }
    uint32_t automatedId(uint32_t k) const { return automation.automatedId(k); }
    double endValue(uint32_t id) const;

    const SignalPath& signalPath() const { return path; }
    const StereoMatrix& highBandMatrix() const { return highMatrix; }
    const StereoMatrix& lowBandMatrix() const { return lowMatrix; }

private:
    struct SegmentAudio;
    struct BandChunk // the stretch of the block the crossover's band buffers hold
    {
        uint32_t start = 0, end = 0;
    };

    // Stores one value in the signal path unless it holds it already.
    void stage(uint32_t id, double value);
    // Sets every automated parameter to its value at a cut, or to the value
    // it jumps to there.
    void applyAutomatedAt(uint32_t cut, bool jumps);
    bool anyJumpAt(uint32_t cut) const;
    // Rebuilds the band matrices that no longer match the settings; the low
    // band only when asked for.
    void refreshBandMatrices(bool withLow);

    template <typename Sample>
    void runSegments(const StereoIo<Sample>* io, uint32_t numSamples);
    // A segment of the crossover path or a bypassed one; full-band ramps go
    // side by side without it.
    template <typename Sample>
    void playSegment(const SegmentAudio& segment, BandChunk& chunk, const StereoIo<Sample>& io, uint32_t numSamples,
                     bool split);
    template <typename Sample>
    void splitUpTo(BandChunk& chunk, const StereoIo<Sample>& io, uint32_t numSamples, uint32_t position);
    template <typename Sample>
    void rampBands(BandChunk& chunk, const StereoIo<Sample>& io, uint32_t numSamples, uint32_t s, uint32_t e,
                   StereoMatrix highRamp, const StereoMatrix& highStep, StereoMatrix lowRamp,
                   const StereoMatrix& lowStep);

    SignalPath path;
    BlockAutomation automation;
    double applied[kNumParams];                         // last value handed to the signal path; NaN before the first
    StereoMatrix highMatrix = StereoMatrix::identity(); // also the full-band matrix when the crossover is off
    StereoMatrix lowMatrix;
    bool highCurrent = false; // the matrices match the settings
    bool lowCurrent = false;
};
