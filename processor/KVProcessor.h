#pragma once

#include "dsp/ProcessingChain.h"
#include "params/FactoryPresets.h"
#include "params/ParamId.h"
#include "params/ParameterTable.h"
#include "processor/OutputChangeQueue.h"
#include "processor/SampleSizeOverride.h"
#include "processor/ScopeFeed.h"
#include "processor/SharedValue.h"
#include "processor/VectorScope.h"
#include "sdk/AudioEffect.h"

#include <cstdint>
#include <mutex>

// The audio half of the plug-in: buses, setup, activation and state, and the
// adapter that hands the host's blocks and parameter queues to the processing
// chain.
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

    // Applies one normalised value in 0..1 to the signal path; does not store
    // it in `values` nor rebuild the band matrices.
    void applyParameter(uint32 id, double normalized) { chain.applyParameter(id, normalized); }

    // Scope worker: sends one completed scope block to the connected peer.
    void sendScopeData(const uint8_t* block) override;

    // Room for eight program changes' worth of reports before any is coalesced.
    static constexpr size_t kOutputQueueCapacity = 8 * kNumParams;

private:
    // Applies every current value in ascending ID order, then rebuilds the band matrices.
    void applyAllParameters();
    // Runs a factory program: resets the program parameters, sets the program's
    // own values, queues all of them for the host and applies everything.
    void applyProgram(uint32 programParamId, double value);

    // The steps of process: the host's queues into the chain, the queued
    // reports out, the buses to sample pointers.
    void takeParameterChanges(Steinberg::Vst::IParameterChanges* changes);
    void reportPendingChanges(Steinberg::Vst::IParameterChanges* outputChanges);
    template <typename Sample>
    void processAudio(Steinberg::Vst::ProcessData& data, uint32 numSamples);
    template <typename Sample>
    bool bindAudio(Steinberg::Vst::ProcessData& data, uint32 numSamples, StereoIo<Sample>& io);

    ParameterTable table;
    std::mutex connectionMutex; // guards the peer connection
    ProcessingChain chain;      // operators, switches, crossover and band matrices
    VectorScope scope{*this};   // the scope worker
    ScopeFeed scopeFeed{scope}; // output frames into scope blocks, on the audio thread
    OutputChangeQueue<kOutputQueueCapacity> pendingOutputChanges;
    uint32 ids[kNumParams] = {};    // 0 .. kNumParams-1, ascending
    SharedValue values[kNumParams]; // current normalised value per ID, as the host sees it
    ParameterRecord records[kNumParams];
    int32 inputChannels[2] = {0, 1};  // left, right within input bus 0
    int32 outputChannels[2] = {0, 1}; // left, right within output bus 0
    Steinberg::uint64 inputSilenceMask = 3;
    Steinberg::uint64 outputSilenceMask = 3;
};
