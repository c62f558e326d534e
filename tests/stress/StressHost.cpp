#include "tests/stress/StressHost.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <chrono>
#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace RobustnessTest {

namespace {

constexpr double kSampleRate = 48000.0; // Hz
// Only a safety net against a deadlocked plug-in; no test measures time.
constexpr auto kHangGuard = std::chrono::seconds(60);

} // namespace

StressHost::StressHost(Hosting::PluginModule& module, int32_t maxBlock) : host(module.factory())
{
    if (host.ok() && host.start({kSampleRate, maxBlock, kSample32, true}) != kResultOk)
        host.error = "the instance refused to start processing";
}

StressHost::~StressHost()
{
    stopAudioThread();
}

void StressHost::startAudioThread()
{
    if (!audio.joinable())
        audio = std::thread(&StressHost::audioLoop, this);
}

void StressHost::stopAudioThread()
{
    if (!audio.joinable())
        return;
    holdAudio(); // the audio thread flushes the queued edits before it stops
    {
        std::lock_guard<std::mutex> lock(audioMutex);
        quit = true;
    }
    audioChanged.notify_all();
    audio.join();
    forwardReports();
}

void StressHost::waitForBlocks(uint64_t count)
{
    std::unique_lock<std::mutex> lock(audioMutex);
    const uint64_t target = blocks.load() + count;
    audioChanged.wait_for(lock, kHangGuard, [&] { return blocks.load() >= target || quit || held; });
}

void StressHost::audioLoop()
{
    std::unique_lock<std::mutex> lock(audioMutex);
    for (;;)
    {
        if (quit)
            return;
        if (holdRequested)
        {
            lock.unlock();
            processBlock(0); // what the host still holds goes in before it stops
            lock.lock();
            held = true;
            audioChanged.notify_all();
            audioChanged.wait(lock, [this] { return !holdRequested || quit; });
            held = false;
            audioChanged.notify_all();
            continue;
        }
        lock.unlock();
        processBlock(host.setup.maxBlock);
        lock.lock();
        ++blocks;
        audioChanged.notify_all();
    }
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

void StressHost::holdAudio()
{
    std::unique_lock<std::mutex> lock(audioMutex);
    if (!audio.joinable())
        return;
    holdRequested = true;
    audioChanged.notify_all();
    audioChanged.wait_for(lock, kHangGuard, [this] { return held; });
}

void StressHost::releaseAudio()
{
    std::unique_lock<std::mutex> lock(audioMutex);
    holdRequested = false;
    audioChanged.notify_all();
    // the audio thread runs again before the next hold can be asked for
    audioChanged.wait_for(lock, kHangGuard, [this] { return !held; });
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
    holdAudio();
    forwardReports();
    host.stop();
    KalviorTest::setStateBytes(component(), KalviorTest::stateOf(state));
    host.instance->transferState();
    host.start({kSampleRate, maxBlock, sampleSize, true});
    releaseAudio();
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

Values StressHost::randomState(Random& random) const
{
    Values values{};
    for (auto& v : values)
        v = random.unit();
    values[kProgSel] = 0.0; // a stored program number selects nothing; keep it plain
    return values;
}

} // namespace RobustnessTest
