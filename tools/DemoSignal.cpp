#include "tools/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A fixed-seed generator, so every run writes the same files.
class NoiseSource
{
public:
    explicit NoiseSource(uint32_t seed) : state(seed) {}
    double next() // uniform in [-1, 1)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }

private:
    uint32_t state;
};

} // namespace

void synthesiseDemoSignal(int sampleRate, double seconds, std::vector<double>& left, std::vector<double>& right)
{
    const size_t frames = static_cast<size_t>(std::max(0.0, seconds) * sampleRate);
    left.assign(frames, 0.0);
    right.assign(frames, 0.0);
    NoiseSource noiseLeft(12345u), noiseRight(67890u);
    const double twoPi = 2.0 * M_PI;
    const double fade = 0.01 * sampleRate;
    // One-pole low-pass state for the noise, to keep it soft.
    double softLeft = 0.0, softRight = 0.0;
    const double smoothing = std::exp(-twoPi * 3000.0 / sampleRate);
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / sampleRate;
        const double bass = 0.25 * std::sin(twoPi * 55.0 * t);
        const double toneLeft = 0.2 * std::sin(twoPi * 440.0 * t);
        const double toneRight = 0.2 * std::sin(twoPi * 660.0 * t);
        // Constant-power pan from hard left to hard right over the signal.
        const double angle = 0.5 * M_PI * (frames > 1 ? static_cast<double>(i) / (frames - 1) : 0.5);
        const double sweep = 0.15 * std::sin(twoPi * 1000.0 * t);
        softLeft = smoothing * softLeft + (1.0 - smoothing) * noiseLeft.next();
        softRight = smoothing * softRight + (1.0 - smoothing) * noiseRight.next();
        double l = bass + 0.9 * toneLeft + 0.3 * toneRight + std::cos(angle) * sweep + 0.1 * softLeft;
        double r = bass + 0.3 * toneLeft + 0.9 * toneRight + std::sin(angle) * sweep + 0.1 * softRight;
        const double edge = std::min({1.0, i / fade, (frames - 1 - i) / fade});
        left[i] = l * edge;
        right[i] = r * edge;
    }
}
