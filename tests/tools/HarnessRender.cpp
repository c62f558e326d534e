#include "tests/tools/HarnessRender.h"

#include <algorithm>
#include <memory>
#include <string>

#include "tests/support/ProcessingHost.h"

#include "sdk/hosting/PluginModule.h"

using namespace Steinberg;

namespace KalviorCli {

namespace {

// Hands parameter values over in a call without audio, as hosts flush them.
void flush(KalviorTest::ProcessingHost& host, Hosting::ParameterChanges& changes)
{
    Vst::ProcessData& data = host.buffers.block(0, &changes, &host.outputChanges);
    data.numInputs = 0;
    data.numOutputs = 0;
    host.processor()->process(data);
    data.numInputs = 1;
    data.numOutputs = 1;
    changes.clear();
}

} // namespace

std::vector<double> harnessRender(const Audio& input, const HarnessSettings& settings)
{
    std::string error;
    auto module = Hosting::PluginModule::load(bundle(), error);
    if (!module)
        return {};
    KalviorTest::ProcessingHost host(module->factory());
    const int32 sampleSize = settings.precision == 64 ? Vst::kSample64 : Vst::kSample32;
    if (!host.ok() || host.start({double(input.sampleRate), settings.blockSize, sampleSize, true}) != kResultOk)
        return {};

    Hosting::ParameterChanges changes;
    if (settings.programValue >= 0.0)
    {
        changes.addChange(0, 0, settings.programValue);
        flush(host, changes);
    }
    for (const auto& [id, value] : settings.values)
        changes.addChange(id, 0, value);
    if (!settings.values.empty())
        flush(host, changes);

    // 4096 frames of silence with the scope off, as a host's stopped
    // transport gives before playback, so the crossover's glide is over.
    double scope = 1.0; // "Scope" (ID 2) is on by default
    for (const auto& [id, value] : settings.values)
        if (id == 2)
            scope = value;
    changes.addChange(2, 0, 0.0);
    flush(host, changes);
    for (int32 done = 0; done < 4096; done += settings.blockSize)
    {
        const int32 n = std::min<int32>(settings.blockSize, 4096 - done);
        host.fillInput(n, 0.0, 0.0);
        host.process(n, nullptr, false);
    }
    changes.addChange(2, 0, scope);
    flush(host, changes);

    const size_t frames = input.frames();
    std::vector<double> output(frames * 2);
    for (size_t start = 0; start < frames; start += static_cast<size_t>(settings.blockSize))
    {
        const int32 n = static_cast<int32>(std::min<size_t>(static_cast<size_t>(settings.blockSize), frames - start));
        for (int32 i = 0; i < n; ++i)
            for (int32 channel = 0; channel < 2; ++channel)
                host.buffers.setInput(channel, i, input.at(start + static_cast<size_t>(i), channel));
        host.process(n, nullptr, false);
        for (int32 i = 0; i < n; ++i)
            for (int32 channel = 0; channel < 2; ++channel)
                output[(start + static_cast<size_t>(i)) * 2 + static_cast<size_t>(channel)] = host.out(channel, i);
    }
    host.stop();
    return output;
}

} // namespace KalviorCli
