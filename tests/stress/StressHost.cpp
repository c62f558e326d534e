#include "tests/stress/StressHost.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <chrono>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace RobustnessTest {

StressHost::StressHost(Hosting::PluginModule& module) : host(module.factory())
{
    if (host.ok() && host.start({48000.0, 256, kSample32, true}) != kResultOk)
        host.error = "the instance refused to start processing";
}

void StressHost::startAudioThread()
{
    if (audio.joinable())
        return;
    quit = false;
    audio = std::thread(
        [this]
        {
            while (!quit)
            {
                {
                    std::lock_guard<std::mutex> lock(processMutex);
                    processBlock(host.setup.maxBlock);
                }
                {
                    std::lock_guard<std::mutex> lock(countMutex);
                    ++blocks;
                }
                counted.notify_all();
                std::this_thread::yield(); // a main thread waiting for the instance gets it
            }
        });
}

void StressHost::stopAudioThread()
{
    if (!audio.joinable())
        return;
    quit = true;
    audio.join();
    std::lock_guard<std::mutex> lock(processMutex);
    processBlock(0); // what the host still holds goes in before it stops
    forwardReports();
}

void StressHost::waitForBlocks(uint64_t count)
{
    if (!audio.joinable())
        return;
    std::unique_lock<std::mutex> lock(countMutex);
    const uint64_t target = blocks.load() + count;
    // the time limit is only a safety net against a deadlocked plug-in
    counted.wait_for(lock, std::chrono::seconds(60), [&] { return blocks.load() >= target; });
}

void StressHost::processBlock(int32_t frames)
{
    inputChanges.clear();
    {
        std::lock_guard<std::mutex> lock(editsMutex);
        for (const auto& change : pendingEdits)
            inputChanges.addChange(change.first, 0, change.second);
        pendingEdits.clear();
    }
    host.fillNoise(frames, noise);
    host.process(frames, &inputChanges, false);

    bool finite = true;
    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < frames; ++i)
            finite = finite && std::isfinite(host.out(c, i));
    if (!finite)
        ++nonFinite;

    std::lock_guard<std::mutex> lock(editsMutex);
    pendingReports.insert(pendingReports.end(), host.reports().begin(), host.reports().end());
}

void StressHost::forwardReports()
{
    KalviorTest::ValueList reports;
    {
        std::lock_guard<std::mutex> lock(editsMutex);
        reports.swap(pendingReports);
    }
    for (const auto& report : reports)
        controller()->setParamNormalized(report.first, report.second);
}

void StressHost::edit(ParamID id, double value)
{
    forwardReports();
    controller()->setParamNormalized(id, value);
    std::lock_guard<std::mutex> lock(editsMutex);
    pendingEdits.emplace_back(id, value);
}

void StressHost::reconnect()
{
    forwardReports();
    host.instance->disconnect();
    host.instance->connect();
}

void StressHost::restart(const Values& state, int32_t maxBlock, int32_t sampleSize)
{
    std::lock_guard<std::mutex> lock(processMutex);
    processBlock(0);
    forwardReports();
    host.stop();
    KalviorTest::setStateBytes(component(), KalviorTest::stateOf(state));
    host.instance->transferState();
    host.start({48000.0, maxBlock, sampleSize, true});
}

void StressHost::readTexts()
{
    forwardReports();
    for (ParamID id = 0; id < kNumParams; ++id)
    {
        String128 text{};
        controller()->getParamStringByValue(id, controller()->getParamNormalized(id), text);
    }
}

Values StressHost::randomState(KalviorTest::Noise& random)
{
    Values values{};
    for (auto& v : values)
        v = random.unit();
    values[kProgSel] = 0.0; // a stored program number selects nothing; keep it plain
    return values;
}

} // namespace RobustnessTest
