#pragma once

// The shared processing host run by two threads, for stress runs: an audio
// thread that processes blocks of noise, and main-thread operations that keep
// to the host contract (state, setup, activation and processing switches
// only while the audio thread is kept out of the instance between blocks).

#include "params/ParamId.h"
#include "tests/support/KalviorBundle.h"
#include "tests/support/ProcessingHost.h"

#include "sdk/hosting/ParameterChanges.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace RobustnessTest {

using KalviorTest::Values;

class StressHost
{
public:
    explicit StressHost(Steinberg::Hosting::PluginModule& module);
    ~StressHost() { stopAudioThread(); }
    StressHost(const StressHost&) = delete;
    StressHost& operator=(const StressHost&) = delete;

    bool ready() const { return host.ok(); }
    const std::string& error() const { return host.error; }
    Steinberg::Vst::IComponent* component() const { return host.component(); }
    Steinberg::Vst::IEditController* controller() const { return host.controller(); }

    void startAudioThread();
    // Ends the audio thread, then processes what the host still holds.
    void stopAudioThread();
    // Blocks until the audio thread has processed `count` more blocks.
    void waitForBlocks(uint64_t count);

    // Main thread. A parameter edit: the controller takes the value and the
    // host queues it for the next block.
    void edit(Steinberg::Vst::ParamID id, double value);
    void reconnect();
    // Between blocks: stops processing, loads `state` into processor and
    // controller, sets up again and restarts processing.
    void restart(const Values& state, int32_t maxBlock, int32_t sampleSize);
    // Reads every parameter's text, as a host's generic editor does.
    void readTexts();

    Values processorValues() { return host.values(); }
    double controllerValue(Steinberg::Vst::ParamID id) const { return controller()->getParamNormalized(id); }
    static Values randomState(KalviorTest::Noise& random);

    uint64_t blocksProcessed() const { return blocks.load(); }
    uint64_t nonFiniteBlocks() const { return nonFinite.load(); }

private:
    void processBlock(int32_t frames); // by whoever holds processMutex
    void forwardReports();

    KalviorTest::ProcessingHost host;
    Steinberg::Hosting::ParameterChanges inputChanges{64, 16};
    KalviorTest::Noise noise;
    std::mutex processMutex; // the instance between blocks: the audio thread's or the main thread's

    std::mutex editsMutex; // edits from the main thread, reports from the audio thread
    KalviorTest::ValueList pendingEdits, pendingReports;

    std::mutex countMutex;
    std::condition_variable counted;
    std::atomic<uint64_t> blocks{0};
    std::atomic<uint64_t> nonFinite{0};
    std::atomic<bool> quit{false};
    std::thread audio;
};

} // namespace RobustnessTest
