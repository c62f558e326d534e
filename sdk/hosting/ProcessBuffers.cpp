#include "sdk/hosting/ProcessBuffers.h"

namespace Steinberg {
namespace Hosting {

ProcessBuffers::ProcessBuffers(int32 channels)
    : numChannels(channels > 0 ? channels : 1), in32(static_cast<size_t>(numChannels)),
      out32(static_cast<size_t>(numChannels)), in64(static_cast<size_t>(numChannels)),
      out64(static_cast<size_t>(numChannels)), inPointers(static_cast<size_t>(numChannels)),
      outPointers(static_cast<size_t>(numChannels))
{
}

void ProcessBuffers::prepare(int32 sampleSize, int32 maxSamples)
{
    symbolicSampleSize = sampleSize;
    capacity = maxSamples > 0 ? maxSamples : 0;
    const size_t frames = static_cast<size_t>(capacity);
    const bool wide = sampleSize == Vst::kSample64;
    for (size_t c = 0; c < static_cast<size_t>(numChannels); ++c)
    {
        in32[c].assign(wide ? 0 : frames, 0.0f);
        out32[c].assign(wide ? 0 : frames, 0.0f);
        in64[c].assign(wide ? frames : 0, 0.0);
        out64[c].assign(wide ? frames : 0, 0.0);
        inPointers[c] = wide ? static_cast<void*>(in64[c].data()) : static_cast<void*>(in32[c].data());
        outPointers[c] = wide ? static_cast<void*>(out64[c].data()) : static_cast<void*>(out32[c].data());
    }
    inputBus.numChannels = numChannels;
    outputBus.numChannels = numChannels;
    inputBus.silenceFlags = 0;
    outputBus.silenceFlags = 0;
    // The union holds either pointer array; both views share the same storage.
    inputBus.channelBuffers32 = reinterpret_cast<Vst::Sample32**>(inPointers.data());
    outputBus.channelBuffers32 = reinterpret_cast<Vst::Sample32**>(outPointers.data());
}

double ProcessBuffers::input(int32 channel, int32 frame) const
{
    const size_t c = static_cast<size_t>(channel), f = static_cast<size_t>(frame);
    return symbolicSampleSize == Vst::kSample64 ? in64[c][f] : static_cast<double>(in32[c][f]);
}

double ProcessBuffers::output(int32 channel, int32 frame) const
{
    const size_t c = static_cast<size_t>(channel), f = static_cast<size_t>(frame);
    return symbolicSampleSize == Vst::kSample64 ? out64[c][f] : static_cast<double>(out32[c][f]);
}

void ProcessBuffers::setInput(int32 channel, int32 frame, double value)
{
    const size_t c = static_cast<size_t>(channel), f = static_cast<size_t>(frame);
    if (symbolicSampleSize == Vst::kSample64)
        in64[c][f] = value;
    else
        in32[c][f] = static_cast<float>(value);
}

Vst::ProcessData& ProcessBuffers::block(int32 numSamples, Vst::IParameterChanges* inputChanges,
                                        Vst::IParameterChanges* outputChanges)
{
    data.processMode = Vst::kRealtime;
    data.symbolicSampleSize = symbolicSampleSize;
    data.numSamples = numSamples < capacity ? numSamples : capacity;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;
    data.inputParameterChanges = inputChanges;
    data.outputParameterChanges = outputChanges;
    data.inputEvents = nullptr;
    data.outputEvents = nullptr;
    data.processContext = &context;
    return data;
}

} // namespace Hosting
} // namespace Steinberg
