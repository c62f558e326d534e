// Cost of the whole process() call per stereo frame at 512-frame blocks,
// through the built bundle as a host calls it, against a plain scalar 2x2
// matrix loop timed in the same iterations:
//   steady       settings that do not move, crossover off
//   lr4          the same with the LR-4 crossover
//   automation   four parameters with a point every 64 frames
// Counters: "process_ns_per_frame", "plain_ns_per_frame" and their ratio
// "vs_plain". The automation benchmarks also time a steady instance in the
// same iterations and report "vs_steady" (target: at most 4), printed again
// at the end as "automation_vs_steady" for both sample sizes.

#include "bench/ThreadClock.h"
#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/PluginInstance.h"
#include "sdk/hosting/PluginModule.h"
#include "sdk/hosting/ProcessBuffers.h"

#include "params/ParamId.h"

#include "base/source/fstreamer.h"
#include "public.sdk/source/common/memorystream.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kBlock = 512;
constexpr int kBlocksPerTiming = 128; // keeps the clock reads (system calls) negligible
constexpr int kAutomationBlocks = 32; // distinct automation blocks, cycled
constexpr int32 kPointSpacing = 64;   // frames between automation points

enum class Scenario
{
    Steady,
    Lr4,
    Automation,
};

// The baseline: one fixed 2x2 matrix per frame, in double, plainly scalar.
template <typename Sample>
__attribute__((noinline, optimize("no-tree-vectorize"))) void
plainMatrix(const double* m, const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int32 n)
{
    for (int32 i = 0; i < n; ++i)
    {
        const double l = inL[i], r = inR[i];
        outL[i] = static_cast<Sample>(l * m[0] + r * m[2]);
        outR[i] = static_cast<Sample>(l * m[1] + r * m[3]);
    }
}

Hosting::PluginModule& bundle()
{
    static std::unique_ptr<Hosting::PluginModule> module = []
    {
        std::string error;
        auto loaded = Hosting::PluginModule::load(KALVIOR_BUNDLE_DIR, error);
        if (!loaded)
        {
            std::fprintf(stderr, "cannot load the bundle: %s\n", error.c_str());
            std::exit(1);
        }
        return loaded;
    }();
    return *module;
}

void setValues(IComponent* component, const std::vector<std::pair<uint32, double>>& values)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    {
        IBStreamer writer(stream, kBigEndian);
        for (const auto& [id, value] : values)
        {
            writer.writeInt32u(id);
            writer.writeDouble(value);
        }
    }
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    component->setState(stream);
}

// One processing instance of the bundle with its host-side buffers.
template <typename Sample>
struct Bench
{
    explicit Bench(Scenario scenario)
    {
        constexpr int32 size = sizeof(Sample) == sizeof(double) ? kSample64 : kSample32;
        std::string error;
        instance =
            Hosting::PluginInstance::create(bundle().factory(), bundle().findClass("Audio Module Class"), &host, error);
        if (!instance)
        {
            std::fprintf(stderr, "cannot create the processor: %s\n", error.c_str());
            std::exit(1);
        }
        instance->setStereoArrangement();
        instance->setupProcessing(44100.0, kBlock, size);
        instance->setActive(true);
        // The scope worker stays stopped: at many times real time it would
        // wake for every handed-off block; the feed itself is still timed.
        buffers.prepare(size, kBlock);
        for (int32 i = 0; i < kBlock; ++i)
        {
            buffers.setInput(0, i, 0.5 * std::sin(0.031 * i));
            buffers.setInput(1, i, 0.4 * std::cos(0.017 * i));
        }
        // A shaped image: every operator away from identity.
        std::vector<std::pair<uint32, double>> settings = {{kLeftPan, 0.2},    {kRightPan, 0.85}, {kBalance, 0.45},
                                                           {kAsymmetry, 0.55}, {kHpWidth, 0.7},   {kHpPan, 0.4},
                                                           {kLpWidth, 0.3},    {kGainTrim, 0.55}};
        if (scenario == Scenario::Lr4)
            settings.push_back({kCrossover, 1.0});
        setValues(instance->component(), settings);

        if (scenario == Scenario::Automation)
        {
            // Gains, balance and width each move along a slow curve.
            const uint32 automated[] = {kLeftGain, kRightGain, kBalance, kHpWidth};
            for (int b = 0; b < kAutomationBlocks; ++b)
            {
                auto changes = std::make_unique<Hosting::ParameterChanges>(8, kBlock / kPointSpacing);
                for (size_t p = 0; p < 4; ++p)
                    for (int32 offset = 0; offset < kBlock; offset += kPointSpacing)
                    {
                        const double phase = 0.002 * (b * kBlock + offset) + 1.3 * p;
                        changes->addChange(automated[p], offset, 0.5 + 0.3 * std::sin(phase));
                    }
                automation.push_back(std::move(changes));
            }
        }
    }

    void process()
    {
        IParameterChanges* changes = automation.empty() ? nullptr : automation[next++ % automation.size()].get();
        instance->processor()->process(buffers.block(kBlock, changes, &reports));
        reports.clear();
    }

    Hosting::HostContext host{"Kalvior Benchmark Host"};
    std::unique_ptr<Hosting::PluginInstance> instance;
    Hosting::ProcessBuffers buffers;
    Hosting::ParameterChanges reports{64, 4};
    std::vector<std::unique_ptr<Hosting::ParameterChanges>> automation;
    size_t next = 0;
};

// Automation against steady settings by sample size ("64", "32"), for the
// closing lines.
std::map<std::string, double>& automationVsSteady()
{
    static std::map<std::string, double> all;
    return all;
}

template <typename Sample>
void processCost(benchmark::State& state, Scenario scenario)
{
    Bench<Sample> bench(scenario);
    for (int i = 0; i < 64; ++i) // past the crossover's glide and into the caches
        bench.process();

    const double matrix[4] = {0.9, 0.1, -0.2, 1.1};
    std::vector<Sample> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    for (int32 i = 0; i < kBlock; ++i)
    {
        inL[i] = static_cast<Sample>(bench.buffers.input(0, i));
        inR[i] = static_cast<Sample>(bench.buffers.input(1, i));
    }

    // Automation is also compared with steady settings timed alongside it.
    std::unique_ptr<Bench<Sample>> steady;
    if (scenario == Scenario::Automation)
    {
        steady = std::make_unique<Bench<Sample>>(Scenario::Steady);
        for (int i = 0; i < 64; ++i)
            steady->process();
    }

    const auto process = [&]
    {
        bench.process();
    };
    const auto plain = [&]
    {
        plainMatrix(matrix, inL.data(), inR.data(), outL.data(), outR.data(), kBlock);
    };
    double processTime = 0.0, plainTime = 0.0, steadyTime = 0.0; // seconds
    if (steady)
    {
        const auto t = timeInTurns(state, kBlocksPerTiming, process, plain, [&] { steady->process(); });
        processTime = t[0], plainTime = t[1], steadyTime = t[2];
    }
    else
    {
        const auto t = timeInTurns(state, kBlocksPerTiming, process, plain);
        processTime = t[0], plainTime = t[1];
    }
    const double frames = static_cast<double>(state.iterations()) * kBlock * kBlocksPerTiming;
    const double processNs = 1e9 * processTime / frames;
    const double plainNs = 1e9 * plainTime / frames;
    state.counters["process_ns_per_frame"] = processNs;
    state.counters["plain_ns_per_frame"] = plainNs;
    state.counters["vs_plain"] = processNs / plainNs;
    state.SetItemsProcessed(static_cast<int64_t>(frames));
    if (steady)
    {
        const std::string bits = sizeof(Sample) == sizeof(double) ? "64" : "32";
        state.counters["vs_steady"] = processTime / steadyTime;
        automationVsSteady()[bits] = processTime / steadyTime;
    }
}

void process64(benchmark::State& state, Scenario scenario)
{
    processCost<double>(state, scenario);
}

void process32(benchmark::State& state, Scenario scenario)
{
    processCost<float>(state, scenario);
}

} // namespace

BENCHMARK_CAPTURE(process64, steady, Scenario::Steady);
BENCHMARK_CAPTURE(process64, lr4, Scenario::Lr4);
BENCHMARK_CAPTURE(process64, automation, Scenario::Automation);
BENCHMARK_CAPTURE(process32, steady, Scenario::Steady);
BENCHMARK_CAPTURE(process32, lr4, Scenario::Lr4);
BENCHMARK_CAPTURE(process32, automation, Scenario::Automation);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [bits, ratio] : automationVsSteady())
        std::printf("automation_vs_steady_%s %.3f\n", bits.c_str(), ratio);
    return 0;
}
