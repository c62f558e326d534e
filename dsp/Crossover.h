#pragma once

#include "dsp/filters/Butterworth.h"
#include "dsp/filters/DirectFormII.h"
#include "dsp/filters/SmoothedFilterDesign.h"

#include <cstdint>
#include <memory>

namespace Dsp {

using CrossoverLowPass = SmoothedFilterDesign<Butterworth::Design::LowPass<2>, 2, DirectFormII>;
using CrossoverHighPass = SmoothedFilterDesign<Butterworth::Design::HighPass<2>, 2, DirectFormII>;

// Linkwitz-Riley split of a stereo block into a low and a high band: two equal
// Butterworth sections in series per band, order 1 ("LR-2") or 2 ("LR-4").
// Low band plus high band is an all-pass; each band is -6 dB at the crossover
// frequency. Only prepare() allocates.
class Crossover
{
public:
    Crossover();
    Crossover(const Crossover&) = delete;
    Crossover& operator=(const Crossover&) = delete;

    // Sizes the band buffers for blocks of up to maxSamples (they never shrink)
    // and retunes for a new sample rate. False when a buffer cannot be
    // allocated; the previous buffers and capacity are then kept.
    bool prepare(uint32_t maxSamples, uint32_t sampleRate);

    // 0 for LR-2, 1 for LR-4. A new slope retunes and clears the filter states.
    void setSlope(int slope);

    // Designs all four filters for sampleRate, the slope and frequency; they
    // glide there over 256 samples.
    void retune();

    // Fills lowBand and highBand with the first numSamples samples of the input.
    // At most `capacity` samples are split (longer blocks must be cut by the
    // caller); returns the number split, 0 when the input is unusable.
    int split(int numSamples, const double* inL, const double* inR);
    int split(int numSamples, const float* inL, const float* inR);

    // The same result computed filter by filter over the whole block; split()
    // takes this path while the filters glide and gives the same bits otherwise.
    int splitStageByStage(int numSamples, const double* inL, const double* inR);

    CrossoverLowPass lowA, lowB;
    CrossoverHighPass highA, highB;
    double* lowBand[2] = {};     // left, right; `capacity` samples each
    double* highBand[2] = {};    // left, right
    uint32_t capacity = 0;       // samples
    uint32_t sampleRate = 44100; // Hz
    uint32_t frequency = 300;    // Hz
    int32_t lr4 = 0;             // 0: LR-2 (order 1 sections), 1: LR-4 (order 2)
    // Splits with 256-bit registers where the processor has AVX; false keeps
    // to the x86-64 baseline. The bits are the same either way.
    bool wideVectors = true;

private:
    template <typename Sample>
    int splitBlock(int numSamples, const Sample* inL, const Sample* inR);
    template <typename Sample>
    void splitFused(int numSamples, const Sample* inL, const Sample* inR);
    template <typename Sample>
    void splitFusedSse2(int numSamples, const Sample* inL, const Sample* inR);
    template <typename Sample>
    void splitFusedAvx(int numSamples, const Sample* inL, const Sample* inR);
    int usableLength(int numSamples, const void* inL, const void* inR) const;
    void filterStageByStage(int numSamples);
    bool anyGliding() const;

    std::unique_ptr<double[]> buffers[4]; // left low, left high, right low, right high
};

} // namespace Dsp
