#pragma once

#include "dsp/Breakpoints.h"
#include "dsp/SignalPath.h"
#include "dsp/StereoMatrix.h"
#include "params/FactoryPresets.h"
#include "params/ParamId.h"
#include "params/ParameterTable.h"
#include "processor/OutputChangeQueue.h"
#include "processor/ScopeFeed.h"
#include "processor/VectorScope.h"
#include "sdk/AudioEffect.h"

#include <mutex>

#include <atomic>
#include <cstdint>

// Which sample sizes the module may process, set once per module load from the
// environment (Kalvior_FORCE_SAMPLESIZE).
enum SampleSizeOverride : int32_t
{
    kAnySampleSize = 0,
    kOnly32Bit = 1,
    kOnly64Bit = 2,
};
extern std::atomic<int32_t> sampleSizeOverride;

// A parameter value that the audio thread writes while the host's main thread
// may read it (a project saved during playback calls getState): a relaxed
// atomic, which on x86-64 is the plain load and store it replaces.
class SharedValue
{
public:
    SharedValue(double v = 0.0) : value(v) {}
    SharedValue& operator=(double v)
    {
        value.store(v, std::memory_order_relaxed);
        return *this;
    }
    SharedValue& operator=(const SharedValue& other) { return *this = double(other); }
    operator double() const { return value.load(std::memory_order_relaxed); }

private:
    static_assert(std::atomic<double>::is_always_lock_free, "the audio thread must not lock");
    std::atomic<double> value;
};

// The audio half of the plug-in: buses, setup, activation, state and the
// signal state it hands to the processing chain.
class KVProcessor final : public Steinberg::Vst::AudioEffect, public ScopeSender
{
public:
    using tresult = Steinberg::tresult;
    using uint32 = Steinberg::uint32;
    using int32 = Steinberg::int32;
    using TBool = Steinberg::TBool;

    KVProcessor();
    ~KVProcessor() override;

    // IPluginBase
    tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    tresult PLUGIN_API terminate() SMTG_OVERRIDE;

    // IConnectionPoint
    tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) SMTG_OVERRIDE;
    tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) SMTG_OVERRIDE;

    // IComponent
    tresult PLUGIN_API setActive(TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;

    // IAudioProcessor
    tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, int32 numIns,
                                          Steinberg::Vst::SpeakerArrangement* outputs, int32 numOuts) SMTG_OVERRIDE;
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) SMTG_OVERRIDE;
    tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    tresult PLUGIN_API setProcessing(TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;

    // Applies one normalised value to the signal path; does not store it in
    // `values` nor rebuild the band matrices.
    virtual void applyParameter(uint32 id, double normalized);

    // Scope worker: sends one completed scope block to the connected peer.
    void sendScopeData(const uint8_t* block) override;

    // Room for eight program changes' worth of reports before any is coalesced.
    static constexpr size_t kOutputQueueCapacity = 8 * kNumParams;

protected:
    // Applies every current value in ascending ID order, then rebuilds the band matrices.
    void applyAllParameters();
    // Runs a factory program: resets the program parameters, sets the program's
    // own values, queues all of them for the host and applies everything.
    void applyProgram(uint32 programParamId, double value);
    void rebuildBandMatrices();

    // The processing chain (dsp/ProcessingChain.cpp).
    template <typename Sample>
    struct StereoIo;
    struct SegmentAudio;
    struct BandChunk // the stretch of the block the crossover's band buffers hold
    {
        uint32 start = 0, end = 0;
    };
    // Sizes the chain's working data for blocks of up to maxSamples; false when memory is short.
    bool prepareChain(uint32 maxSamples);
    void takeParameterChanges(Steinberg::Vst::IParameterChanges* changes);
    void reportPendingChanges(Steinberg::Vst::IParameterChanges* outputChanges);
    // Sets every automated parameter to its value at a cut, or to the value
    // it jumps to there.
    void applyAutomatedAt(uint32 cut, bool jumps);
    // Records that the signal path now holds `value` for `id`: the band
    // matrices built before are stale.
    void noteApplied(uint32 id, double value)
    {
        if (id < kNumParams)
            appliedValues[id] = value;
        builtHighCurrent = builtLowCurrent = false;
    }
    // The band matrices of the current operators, built only when they changed;
    // the low band only when asked for.
    void currentBandMatrices(StereoMatrix& high, StereoMatrix* low);
    bool anyJumpAt(uint32 cut) const;
    template <typename Sample>
    bool bindAudio(Steinberg::Vst::ProcessData& data, uint32 numSamples, StereoIo<Sample>& io);
    template <typename Sample>
    void runSegments(Steinberg::Vst::ProcessData& data, uint32 numSamples);
    // A segment of the crossover path or a bypassed one; full-band ramps go
    // side by side without it.
    template <typename Sample>
    void playSegment(const SegmentAudio& segment, BandChunk& chunk, const StereoIo<Sample>& io, uint32 numSamples,
                     bool split);
    template <typename Sample>
    void splitUpTo(BandChunk& chunk, const StereoIo<Sample>& io, uint32 numSamples, uint32 position);
    template <typename Sample>
    void rampBands(BandChunk& chunk, const StereoIo<Sample>& io, uint32 numSamples, uint32 s, uint32 e,
                   StereoMatrix highRamp, const StereoMatrix& highStep, StereoMatrix lowRamp,
                   const StereoMatrix& lowStep);

    ParameterTable table;
    std::mutex connectionMutex; // guards the peer connection
    SignalPath signal;          // operators, switches and crossover
    VectorScope scope{*this};   // the scope worker
    ScopeFeed scopeFeed{scope}; // output frames into scope blocks, on the audio thread
    OutputChangeQueue<kOutputQueueCapacity> pendingOutputChanges;
    uint32 ids[kNumParams] = {};    // 0 .. kNumParams-1, ascending
    SharedValue values[kNumParams]; // current normalised value per ID
    ParameterRecord records[kNumParams];
    StereoMatrix highMatrix = StereoMatrix::identity(); // also the full-band matrix when the crossover is off
    StereoMatrix lowMatrix;
    int32 inputChannels[2] = {0, 1};  // left, right within input bus 0
    int32 outputChannels[2] = {0, 1}; // left, right within output bus 0
    Steinberg::uint64 inputSilenceMask = 3;
    Steinberg::uint64 outputSilenceMask = 3;

    // Working data of the processing chain, sized before processing.
    BlockAutomation automation;
    double appliedValues[kNumParams] = {}; // last value handed to applyParameter; NaN before the first
    StereoMatrix builtHigh, builtLow;      // band matrices of the operator settings...
    bool builtHighCurrent = false;         // ...as long as these hold
    bool builtLowCurrent = false;
};
