// Processing as a plain copy of the input, with the parameter handling around
// it (values, program changes, output changes). Built while the processing
// chain is not part of the build.

#include "processor/KVProcessor.h"

#include "params/curves.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

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

template <typename Sample>
void copyBlock(ProcessData& data, const int32 (&inputChannels)[2], const int32 (&outputChannels)[2],
               uint64 inputSilenceMask, uint64 outputSilenceMask)
{
    if (data.numOutputs < 1 || !data.outputs || data.outputs[0].numChannels < 2)
        return;
    AudioBusBuffers& out = data.outputs[0];
    Sample** outChannels = channelsOf<Sample>(out);
    if (!outChannels)
        return;
    const bool haveInput = data.numInputs >= 1 && data.inputs && data.inputs[0].numChannels >= 2 &&
                           channelsOf<Sample>(data.inputs[0]);
    const size_t bytes = sizeof(Sample) * static_cast<size_t>(data.numSamples);
    for (int c = 0; c < 2; ++c)
    {
        Sample* destination = outChannels[outputChannels[c]];
        if (!destination)
            continue;
        const Sample* source = haveInput ? channelsOf<Sample>(data.inputs[0])[inputChannels[c]] : nullptr;
        if (source && source != destination)
            std::memmove(destination, source, bytes);
        else if (!source)
            std::memset(destination, 0, bytes);
    }
    const bool silent = !haveInput || (data.inputs[0].silenceFlags & inputSilenceMask) == inputSilenceMask;
    if (silent)
        out.silenceFlags |= outputSilenceMask;
    else
        out.silenceFlags &= ~outputSilenceMask;
}

} // namespace

tresult PLUGIN_API KVProcessor::process(ProcessData& data)
{
    // Each parameter takes the last value the block brings; a program change runs the program.
    bool changed = false;
    if (IParameterChanges* changes = data.inputParameterChanges)
    {
        const int32 queues = changes->getParameterCount();
        for (int32 q = 0; q < queues; ++q)
        {
            IParamValueQueue* queue = changes->getParameterData(q);
            if (!queue)
                continue;
            const uint32 id = queue->getParameterId();
            const int32 points = queue->getPointCount();
            int32 offset = 0;
            ParamValue value = 0.0;
            if (id >= kNumParams || points < 1 || queue->getPoint(points - 1, offset, value) != kResultOk ||
                !std::isfinite(value))
                continue;
            values[id] = Curves::clampNormalized(value, values[id]);
            if (records[id].flags & ParamFlags::kIsProgramChange)
                applyProgram(id, values[id]);
            else
            {
                applyParameter(id, values[id]);
                changed = true;
            }
        }
    }
    if (changed)
        rebuildBandMatrices();

    // Reports wait in the queue until the host gives a list to put them in.
    if (IParameterChanges* outputChanges = data.outputParameterChanges)
    {
        while (!pendingOutputChanges.empty())
        {
            const OutputChange& change = pendingOutputChanges.front();
            int32 queueIndex = 0;
            int32 pointIndex = 0;
            IParamValueQueue* queue = outputChanges->addParameterData(change.id, queueIndex);
            if (!queue || queue->addPoint(0, change.value, pointIndex) != kResultOk)
                break; // the host's list is full: keep the rest for the next block
            pendingOutputChanges.pop();
        }
    }

    if (data.numSamples <= 0)
        return kResultOk;
    if (data.symbolicSampleSize == kSample64)
        copyBlock<Sample64>(data, inputChannels, outputChannels, inputSilenceMask, outputSilenceMask);
    else
        copyBlock<Sample32>(data, inputChannels, outputChannels, inputSilenceMask, outputSilenceMask);
    return kResultOk;
}
