#pragma once

#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"
#include "tools/Automation.h"
#include "tools/PluginSession.h"
#include "tools/ScopePicture.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// How to run the plug-in over a signal.
struct RenderPlan
{
    double sampleRate = 48000.0;
    int32_t blockSize = 512;
    int precision = 32;                              // sample size handed to the plug-in
    int program = -1;                                // factory program to start from, -1 for none
    std::vector<std::pair<uint32_t, double>> values; // set after the program, before the first frame
    std::vector<std::pair<uint32_t, AutomationCurve>> automation;
    bool drawScope = false; // collect the plug-in's scope blocks
};

// The block loop of a host: prepares the plug-in as a DAW does (stereo buses,
// processing setup, activation, the program change and then the starting
// values in calls without audio, then a moment of silence, as a DAW's stopped
// transport gives, so settings that glide have arrived before the first
// frame), then processes the signal in blocks of at most `blockSize` frames,
// handing each block the automation points that fall into it and passing the
// plug-in's output parameter changes on to the controller.
class Renderer
{
public:
    Renderer(PluginSession& session, RenderPlan plan);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    bool start(std::string& error);

    // `frames` may be anything; it is cut into blocks. Inputs and outputs may
    // not overlap. The sample type must match the plan's precision.
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int64_t frames);
    void process(const double* inLeft, const double* inRight, double* outLeft, double* outRight, int64_t frames);

    void stop();

    const ScopePicture& scope() const { return picture; }
    // Scope blocks the plug-in should have sent for the audio so far.
    uint64_t scopeBlocksExpected() const { return expectedScopeBlocks; }

private:
    template <typename Sample>
    void processBlocks(const Sample* inLeft, const Sample* inRight, Sample* outLeft, Sample* outRight, int64_t frames);
    void prepareChanges(int32_t frames);
    void forwardOutputChanges();
    void collectScope(int32_t frames);
    bool applyStartingState(std::string& error);
    void flush();
    void warmUp();

    PluginSession& session;
    RenderPlan plan;
    Steinberg::Hosting::ProcessBuffers buffers{2};
    Steinberg::Hosting::ParameterChanges inputChanges;
    Steinberg::Hosting::ParameterChanges outputChanges;
    std::vector<double> automationCurrent; // processor's value of each automated parameter
    std::vector<QueuePoint> points;
    int64_t position = 0; // frames processed
    bool running = false;

    ScopePicture picture;
    bool scopeOn = false;
    uint64_t scopeFrames = 0;
    uint64_t expectedScopeBlocks = 0;
    bool scopeStalled = false;
};
