#pragma once

// A small multi-threaded host for stress runs: one instance of the built
// bundle, an audio thread that processes blocks of noise, and main-thread
// operations that keep to the host contract (state, setup, activation and
// processing switches only while the audio thread is held between blocks).

#include "params/ParamId.h"
#include "tests/support/KalviorBundle.h"

#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace RobustnessTest {

using Values = std::array<double, kNumParams>;

// Reproducible pseudo-random numbers (the same sequence on every machine).
class Random
{
public:
    explicit Random(uint64_t seed) : state(seed * 2862933555777941757ull + 3037000493ull) {}
    uint64_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    uint32_t below(uint32_t bound) { return static_cast<uint32_t>(next() % bound); }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; } // [0, 1)

private:
    uint64_t state;
};

// The 12-byte big-endian records of a whole state.
KalviorTest::Bytes stateBytes(const Values& values);
// Decodes a 348-byte state; false when it is not one.
bool decodeValues(const KalviorTest::Bytes& state, Values& values);

class StressHost
{
public:
    explicit StressHost(Steinberg::Hosting::PluginModule& module, int32_t maxBlock = 256);
    ~StressHost();
    StressHost(const StressHost&) = delete;
    StressHost& operator=(const StressHost&) = delete;

    bool ready() const { return instance != nullptr && error.empty(); }
    std::string error;

    Steinberg::Vst::IComponent* component() const { return instance->component(); }
    Steinberg::Vst::IEditController* controller() const { return instance->controller(); }

    void startAudioThread();
    // Processes what is still queued, then ends the audio thread.
    void stopAudioThread();
    // Blocks until the audio thread has processed `count` more blocks.
    void waitForBlocks(uint64_t count);

    // Main thread. A parameter edit: the controller takes the value and the
    // host queues it for the next block.
    void edit(Steinberg::Vst::ParamID id, double value);
    void reconnect();
    // Holds the audio thread between blocks, stops processing, loads `state`
    // into processor and controller, sets up again and restarts processing.
    void restart(const Values& state, int32_t maxBlock, int32_t sampleSize);
    // Reads every parameter's text, as a host's generic editor does.
    void readTexts();

    // Without the audio thread: one block of `frames` with the host's `changes`
    // instead of the queued edits; returns the processor's reports, which the
    // controller then has too.
    std::vector<std::pair<Steinberg::Vst::ParamID, double>> processNow(int32_t frames,
                                                                       Steinberg::Vst::IParameterChanges* changes);
    // Loads a state into processor and controller between blocks.
    Steinberg::tresult loadState(const KalviorTest::Bytes& state);

    Values processorValues(); // only while the audio thread is stopped
    double controllerValue(Steinberg::Vst::ParamID id) const;
    Values randomState(Random& random) const;

    uint64_t blocksProcessed() const { return blocks.load(); }
    uint64_t nonFiniteBlocks() const { return nonFinite.load(); }

private:
    void audioLoop();
    // audio thread, or main thread while it is held
    void processBlock(int32_t frames, Steinberg::Vst::IParameterChanges* changes = nullptr);
    void holdAudio();
    void releaseAudio();
    void forwardReports();

    Steinberg::Hosting::HostContext hostContext{"Kalvior Stress Host"};
    std::unique_ptr<Steinberg::Hosting::PluginInstance> instance;

    // Owned by whoever processes: the audio thread, or the main thread while it holds it.
    Steinberg::Hosting::ProcessBuffers buffers;
    Steinberg::Hosting::ParameterChanges inputChanges{64, 16};
    Steinberg::Hosting::ParameterChanges outputChanges{64, 4};
    int32_t blockSize = 0;
    uint32_t noise = 1;

    std::mutex editsMutex; // edits from the main thread, reports from the audio thread
    std::vector<std::pair<Steinberg::Vst::ParamID, double>> pendingEdits, pendingReports;

    std::mutex audioMutex; // the hold handshake and the block count
    std::condition_variable audioChanged;
    bool holdRequested = false;
    bool held = false;
    bool quit = false;
    std::atomic<uint64_t> blocks{0};
    std::atomic<uint64_t> nonFinite{0};
    std::thread audio;
};

} // namespace RobustnessTest
