#include "tests/tools/HarnessRender.h"

#include <algorithm>
#include <memory>
#include <string>

#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/PluginInstance.h"
#include "sdk/hosting/PluginModule.h"
#include "sdk/hosting/ProcessBuffers.h"

using namespace Steinberg;

namespace KalviorCli {

namespace {

// Hands parameter values over in a call without audio, as hosts flush them.
void flush(Vst::IAudioProcessor* processor, Hosting::ProcessBuffers& buffers, Hosting::ParameterChanges& changes)
{
    Hosting::ParameterChanges reported;
    Vst::ProcessData& data = buffers.block(0, &changes, &reported);
    data.numInputs = 0;
    data.numOutputs = 0;
    processor->process(data);
    data.numInputs = 1;
    data.numOutputs = 1;
}

} // namespace

std::vector<double> harnessRender(const Audio& input, const HarnessSettings& settings)
{
    std::string error;
    auto module = Hosting::PluginModule::load(bundle(), error);
    if (!module)
        return {};
    Hosting::HostContext host("harness");
    auto plugin = Hosting::PluginInstance::create(module->factory(), module->findClass(kVstAudioEffectClass),
                                                  static_cast<Vst::IHostApplication*>(&host), error);
    if (!plugin || !plugin->connect() || plugin->transferState() != kResultOk)
        return {};
    const int32 sampleSize = settings.precision == 64 ? Vst::kSample64 : Vst::kSample32;
    if (plugin->setStereoArrangement() != kResultOk ||
        plugin->setupProcessing(input.sampleRate, settings.blockSize, sampleSize) != kResultOk ||
        plugin->setActive(true) != kResultOk || plugin->setProcessing(true) != kResultOk)
        return {};

    Hosting::ProcessBuffers buffers(2);
    buffers.prepare(sampleSize, settings.blockSize);
    Hosting::ParameterChanges changes;
    if (settings.programValue >= 0.0)
    {
        changes.addChange(0, 0, settings.programValue);
        flush(plugin->processor(), buffers, changes);
        changes.clear();
    }
    for (const auto& [id, value] : settings.values)
        changes.addChange(id, 0, value);
    if (!settings.values.empty())
        flush(plugin->processor(), buffers, changes);

    // 4096 frames of silence with the scope off, as a host's stopped
    // transport gives before playback, so the crossover's glide is over.
    double scope = 1.0; // "Scope" (ID 2) is on by default
    for (const auto& [id, value] : settings.values)
        if (id == 2)
            scope = value;
    changes.clear();
    changes.addChange(2, 0, 0.0);
    flush(plugin->processor(), buffers, changes);
    for (int32 done = 0; done < 4096; done += settings.blockSize)
    {
        const int32 n = std::min<int32>(settings.blockSize, 4096 - done);
        for (int32 i = 0; i < n; ++i)
            for (int32 channel = 0; channel < 2; ++channel)
                buffers.setInput(channel, i, 0.0);
        Hosting::ParameterChanges none;
        plugin->processor()->process(buffers.block(n, &none, nullptr));
    }
    changes.clear();
    changes.addChange(2, 0, scope);
    flush(plugin->processor(), buffers, changes);

    const size_t frames = input.frames();
    std::vector<double> output(frames * 2);
    for (size_t start = 0; start < frames; start += static_cast<size_t>(settings.blockSize))
    {
        const int32 n = static_cast<int32>(std::min<size_t>(static_cast<size_t>(settings.blockSize), frames - start));
        for (int32 i = 0; i < n; ++i)
            for (int32 channel = 0; channel < 2; ++channel)
                buffers.setInput(channel, i, input.at(start + static_cast<size_t>(i), channel));
        Hosting::ParameterChanges none;
        Hosting::ParameterChanges reported;
        plugin->processor()->process(buffers.block(n, &none, &reported));
        for (int32 i = 0; i < n; ++i)
            for (int32 channel = 0; channel < 2; ++channel)
                output[(start + static_cast<size_t>(i)) * 2 + static_cast<size_t>(channel)] =
                    buffers.output(channel, i);
    }
    plugin->setProcessing(false);
    plugin->setActive(false);
    return output;
}

} // namespace KalviorCli
