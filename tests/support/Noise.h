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

private:
    uint32_t state;
};

} // namespace KalviorTest
