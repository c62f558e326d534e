#pragma once

#include <benchmark/benchmark.h>

#include <array>
#include <ctime>

// CPU time of this thread in seconds, so that other processes on the machine
// do not count against either side of a ratio measured in the same run.
inline double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Runs each body `blocks` times in turn in every benchmark iteration and
// returns each one's total thread CPU time (seconds): measured side by side,
// a load that comes and goes weighs on all of them alike.
template <typename... Bodies>
std::array<double, sizeof...(Bodies)> timeInTurns(benchmark::State& state, int blocks, Bodies&&... bodies)
{
    std::array<double, sizeof...(Bodies)> seconds{};
    for (auto _ : state)
    {
        size_t k = 0;
        auto timeOne = [&](auto& body)
        {
            const double start = threadSeconds();
            for (int b = 0; b < blocks; ++b)
            {
                body();
                benchmark::ClobberMemory();
            }
            seconds[k++] += threadSeconds() - start;
        };
        (timeOne(bodies), ...);
    }
    return seconds;
}
