#pragma once

// The suite's one noise source: a linear congruential generator, the same
// sequence on every machine, with values in -1..1 that a float holds exactly.

#include <cstdint>

namespace KalviorTest {

class Noise
{
public:
    explicit Noise(uint32_t seed = 1) : state(seed) {}
    double next()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1 << 24) * 2.0 - 1.0;
    }
    // Reproducible choices from the same sequence: 0..1 (1 excluded), 0..bound-1.
    double unit() { return (next() + 1.0) * 0.5; }
    uint32_t below(uint32_t bound) { return static_cast<uint32_t>(unit() * bound); }

private:
    uint32_t state;
};

} // namespace KalviorTest
