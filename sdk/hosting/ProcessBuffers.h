#pragma once

// Audio buffers for one input and one output bus and the ProcessData that
// points at them, in 32-bit or 64-bit samples. prepare() allocates; building a
// block's ProcessData does not.

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <vector>

namespace Steinberg {
namespace Hosting {

class ProcessBuffers
{
public:
    explicit ProcessBuffers(int32 numChannels = 2);

    // Sizes every channel for blocks of up to maxSamples, zeroed.
    void prepare(int32 symbolicSampleSize, int32 maxSamples);

    int32 sampleSize() const { return symbolicSampleSize; }
    int32 maxSamples() const { return capacity; }
    int32 channels() const { return numChannels; }

    // Channel storage; only the sample size chosen by prepare() is allocated.
    float* input32(int32 channel) { return in32[static_cast<size_t>(channel)].data(); }
    float* output32(int32 channel) { return out32[static_cast<size_t>(channel)].data(); }
    double* input64(int32 channel) { return in64[static_cast<size_t>(channel)].data(); }
    double* output64(int32 channel) { return out64[static_cast<size_t>(channel)].data(); }

    // Input and output as doubles whatever the sample size.
    double input(int32 channel, int32 frame) const;
    double output(int32 channel, int32 frame) const;
    void setInput(int32 channel, int32 frame, double value);

    // The ProcessData of a block of numSamples (at most maxSamples()), with the
    // given parameter change lists (either may be null).
    Vst::ProcessData& block(int32 numSamples, Vst::IParameterChanges* inputChanges = nullptr,
                            Vst::IParameterChanges* outputChanges = nullptr);

    Vst::AudioBusBuffers inputBus{};
    Vst::AudioBusBuffers outputBus{};
    Vst::ProcessContext context{};
    Vst::ProcessData data;

private:
    int32 numChannels;
    int32 symbolicSampleSize = Vst::kSample32;
    int32 capacity = 0;
    std::vector<std::vector<float>> in32, out32;
    std::vector<std::vector<double>> in64, out64;
    std::vector<void*> inPointers, outPointers;
};

} // namespace Hosting
} // namespace Steinberg
