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

KalviorTest::Bytes stateBytes(const Values& values)
{
    KalviorTest::Bytes bytes;
    for (uint32_t id = 0; id < kNumParams; ++id)
        KalviorTest::appendRecord(bytes, id, values[id]);
    return bytes;
}

bool decodeValues(const KalviorTest::Bytes& state, Values& values)
{
    if (state.size() != kNumParams * 12)
        return false;
    for (uint32_t id = 0; id < kNumParams; ++id)
    {
        uint32_t storedId = 0;
        if (!KalviorTest::readRecord(state, id, storedId, values[id]) || storedId != id)
            return false;
    }
    return true;
}

StressHost::StressHost(Hosting::PluginModule& module, int32_t maxBlock)
{
    const int32 processorClass = module.findClass(KalviorTest::kAudioModuleClass);
    instance = Hosting::PluginInstance::create(module.factory(), processorClass, &hostContext, error);
    if (!instance)
        return;
    if (!instance->controller())
    {
        error = "no controller";
        return;
    }
    if (!instance->connect() || instance->transferState() != kResultOk ||
        instance->setStereoArrangement() != kResultOk ||
        instance->setupProcessing(kSampleRate, maxBlock, kSample32) != kResultOk ||
        instance->setActive(true) != kResultOk || instance->setProcessing(true) != kResultOk)
    {
        error = "the instance refused to start processing";
        return;
    }
    buffers.prepare(kSample32, maxBlock);
    blockSize = maxBlock;
}

StressHost::~StressHost()
{
    stopAudioThread();
    instance.reset(); // stops processing, deactivates, disconnects, terminates
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
        processBlock(blockSize);
        lock.lock();
        ++blocks;
        audioChanged.notify_all();
    }
}

void StressHost::processBlock(int32_t frames, IParameterChanges* changes)
{
    inputChanges.clear();
    {
        std::lock_guard<std::mutex> lock(editsMutex);
        for (const auto& change : pendingEdits)
            inputChanges.addChange(change.first, 0, change.second);
        pendingEdits.clear();
    }
    const bool wide = buffers.sampleSize() == kSample64;
    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < frames; ++i)
        {
            noise = noise * 1664525u + 1013904223u;
            const double x = (noise >> 8) / double(1 << 24) * 2.0 - 1.0;
            if (wide)
                buffers.input64(c)[i] = x;
            else
                buffers.input32(c)[i] = static_cast<float>(x);
        }
    outputChanges.clear();
    instance->processor()->process(buffers.block(frames, changes ? changes : &inputChanges, &outputChanges));

    bool finite = true;
    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < frames; ++i)
            finite = finite && std::isfinite(buffers.output(c, i));
    if (!finite)
        ++nonFinite;

    std::lock_guard<std::mutex> lock(editsMutex);
    for (int32 q = 0; q < outputChanges.getParameterCount(); ++q)
    {
        IParamValueQueue* queue = outputChanges.getParameterData(q);
        int32 offset = 0;
        ParamValue value = 0.0;
        if (queue && queue->getPointCount() > 0 &&
            queue->getPoint(queue->getPointCount() - 1, offset, value) == kResultOk)
            pendingReports.emplace_back(queue->getParameterId(), value);
    }
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
    std::vector<std::pair<ParamID, double>> reports;
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
    instance->disconnect();
    instance->connect();
}

void StressHost::restart(const Values& state, int32_t maxBlock, int32_t sampleSize)
{
    holdAudio();
    forwardReports();
    instance->setProcessing(false);
    instance->setActive(false);
    KalviorTest::setStateBytes(component(), stateBytes(state));
    instance->transferState();
    instance->setupProcessing(kSampleRate, maxBlock, sampleSize);
    buffers.prepare(sampleSize, maxBlock);
    blockSize = maxBlock;
    instance->setActive(true);
    instance->setProcessing(true);
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

std::vector<std::pair<ParamID, double>> StressHost::processNow(int32_t frames, IParameterChanges* changes)
{
    processBlock(frames, changes);
    std::vector<std::pair<ParamID, double>> reports;
    {
        std::lock_guard<std::mutex> lock(editsMutex);
        reports = pendingReports;
    }
    forwardReports();
    return reports;
}

tresult StressHost::loadState(const KalviorTest::Bytes& state)
{
    const tresult result = KalviorTest::setStateBytes(component(), state);
    return result == kResultOk ? instance->transferState() : result;
}

Values StressHost::processorValues()
{
    Values values{};
    decodeValues(KalviorTest::getStateBytes(component()), values);
    return values;
}

double StressHost::controllerValue(ParamID id) const
{
    return controller()->getParamNormalized(id);
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
