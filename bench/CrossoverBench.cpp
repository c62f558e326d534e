// Cost of the crossover split per stereo frame, against a plain loop of one
// biquad per channel timed in the same iterations. The counter
// "per_section_vs_biquad" is (split time / 4 sections) / biquad loop time:
// the target is at most 2.

#include "bench/ThreadClock.h"
#include "dsp/Crossover.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr int kBlocksPerTiming = 8;    // keeps the clock reads negligible
constexpr int kSectionsPerChannel = 4; // two low-pass, two high-pass

// The baseline: one Direct Form II biquad per channel, nothing else.
struct PlainBiquad
{
    double a1, a2, b0, b1, b2;
    double w1[2] = {}, w2[2] = {};

    void run(const double* const* in, double* const* out, int n)
    {
        for (int c = 0; c < 2; ++c)
        {
            double s1 = w1[c], s2 = w2[c];
            for (int i = 0; i < n; ++i)
            {
                const double w = in[c][i] - a1 * s1 - a2 * s2;
                out[c][i] = b0 * w + b1 * s1 + b2 * s2;
                s2 = s1;
                s1 = w;
            }
            w1[c] = s1;
            w2[c] = s2;
        }
    }
};

template <typename Sample>
struct Signal
{
    std::vector<Sample> left, right;
    Signal() : left(kBlock), right(kBlock)
    {
        for (int i = 0; i < kBlock; ++i)
        {
            left[i] = static_cast<Sample>(std::sin(i * 0.05) * 0.5);
            right[i] = static_cast<Sample>(std::cos(i * 0.031) * 0.5);
        }
    }
};

enum class Path
{
    Split,
    StageByStage,
    Gliding,
};

template <typename Sample>
int runSplit(Dsp::Crossover& x, Path path, const Signal<Sample>& s, int block);

template <>
int runSplit<double>(Dsp::Crossover& x, Path path, const Signal<double>& s, int block)
{
    if (path == Path::StageByStage)
        return x.splitStageByStage(block, s.left.data(), s.right.data());
    return x.split(block, s.left.data(), s.right.data());
}

template <>
int runSplit<float>(Dsp::Crossover& x, Path, const Signal<float>& s, int block)
{
    return x.split(block, s.left.data(), s.right.data());
}

template <typename Sample>
void crossoverSplit(benchmark::State& state, int lr4, Path path)
{
    Dsp::Crossover x;
    x.prepare(kBlock, 48000);
    x.setSlope(lr4);
    for (int i = 0; i < 4; ++i) // past the glide
        runSplit<Sample>(x, Path::Split, Signal<Sample>(), kBlock);

    const Signal<Sample> signal;
    const Signal<double> wide;
    std::vector<double> outL(kBlock), outR(kBlock);
    const double* in[2] = {wide.left.data(), wide.right.data()};
    double* out[2] = {outL.data(), outR.data()};
    const Dsp::SecondOrderSection& s = x.lowA.design.chain.sections[0];
    PlainBiquad baseline{s.a1, s.a2, s.b0, s.b1, s.b2};

    uint32_t frequency = 300;
    const auto split = [&]
    {
        if (path == Path::Gliding)
        {
            frequency = frequency == 300 ? 310 : 300;
            x.frequency = frequency;
            x.retune(); // a new 256-sample glide every block
        }
        benchmark::DoNotOptimize(runSplit<Sample>(x, path, signal, kBlock));
    };
    const auto [splitTime, baselineTime] =
        timeInTurns(state, kBlocksPerTiming, split, [&] { baseline.run(in, out, kBlock); }); // seconds
    const double frames = static_cast<double>(state.iterations()) * kBlock * kBlocksPerTiming;
    const double splitNs = 1e9 * splitTime / frames;
    const double baselineNs = 1e9 * baselineTime / frames;
    state.counters["split_ns_per_frame"] = splitNs;
    state.counters["biquad_ns_per_frame"] = baselineNs;
    state.counters["per_section_vs_biquad"] = splitNs / kSectionsPerChannel / baselineNs;
    state.SetItemsProcessed(static_cast<int64_t>(frames));
}

void split64(benchmark::State& state, int lr4, Path path)
{
    crossoverSplit<double>(state, lr4, path);
}

void split32(benchmark::State& state, int lr4, Path path)
{
    crossoverSplit<float>(state, lr4, path);
}

} // namespace

BENCHMARK_CAPTURE(split64, lr2, 0, Path::Split);
BENCHMARK_CAPTURE(split64, lr4, 1, Path::Split);
BENCHMARK_CAPTURE(split32, lr2, 0, Path::Split);
BENCHMARK_CAPTURE(split32, lr4, 1, Path::Split);
BENCHMARK_CAPTURE(split64, lr2_stage_by_stage, 0, Path::StageByStage);
BENCHMARK_CAPTURE(split64, lr4_stage_by_stage, 1, Path::StageByStage);
BENCHMARK_CAPTURE(split64, lr4_gliding, 1, Path::Gliding);

BENCHMARK_MAIN();
