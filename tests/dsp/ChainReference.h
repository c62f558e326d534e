#pragma once

// Long double reference for the processing chain tests: the band matrices
// multiplied out from the operators, and the magnitudes of the Linkwitz-Riley
// bands from their analog prototypes.

#include "dsp/SignalPath.h"
#include "params/ParamId.h"
#include "tests/dsp/StereoReference.h"
#include "tests/support/StateRecords.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace ChainReference {

using Values = KalviorTest::Values;
using Matrix = RefMatrix;

inline Matrix lerp(const Matrix& a, const Matrix& b, long double t)
{
    return {a.m00 + (b.m00 - a.m00) * t, a.m01 + (b.m01 - a.m01) * t, a.m10 + (b.m10 - a.m10) * t,
            a.m11 + (b.m11 - a.m11) * t};
}

// The output pair of one input pair (row-vector convention).
inline void apply(const Matrix& m, long double l, long double r, long double& outL, long double& outR)
{
    outL = l * m.m00 + r * m.m10;
    outR = l * m.m01 + r * m.m11;
}

inline Values with(Values v, const std::vector<std::pair<uint32_t, double>>& changes)
{
    for (const auto& [id, value] : changes)
        v[id] = value;
    return v;
}

// The band matrix, high band (also the full-band matrix) or low band: the
// product's operators as the signal path sets them, multiplied in long double
// in signal order. The operators and curves are pinned by their own landmark
// tests; what this checks is how the chain combines and ramps them.
inline Matrix band(const Values& v, bool high)
{
    SignalPath path;
    for (uint32_t id = 0; id < kNumParams; ++id)
        path.stageParameter(id, v[id]);
    path.updateOperators();
    const Matrix bandWidth = ref(high ? path.highWidth.lr : path.lowWidth.lr);
    const Matrix bandPan = ref(high ? path.highPan.lr : path.lowPan.lr);
    Matrix t = ref(path.inputGain.lr) * ref(path.inputPans.lr) * ref(path.balance.lr) * ref(path.asymmetry.lr) *
               bandWidth * bandPan * ref(path.output.lr);
    if (path.inputMS)
        t = kRefToLR * t;
    if (path.outputMS)
        t = t * kRefToMS;
    return t;
}

inline Matrix high(const Values& v)
{
    return band(v, true);
}

inline Matrix low(const Values& v)
{
    return band(v, false);
}

// Whole hertz of the crossover frequency curve, 100 * 8^v.
inline double crossoverHz(double v)
{
    return std::trunc(100.0L * std::pow(8.0L, static_cast<long double>(v)));
}

// Magnitudes of the Linkwitz-Riley bands after the bilinear transform with
// pre-warping: the analog squared Butterworth at the warped frequency ratio.
inline long double warpedRatio(double hz, double cutoffHz, double sampleRate)
{
    return std::tan(kRefPi * hz / sampleRate) / std::tan(kRefPi * cutoffHz / sampleRate);
}

inline long double lowBandMagnitude(double hz, double cutoffHz, double sampleRate, int order)
{
    const long double p = std::pow(warpedRatio(hz, cutoffHz, sampleRate), 2.0L * order);
    return 1 / (1 + p);
}

inline long double highBandMagnitude(double hz, double cutoffHz, double sampleRate, int order)
{
    const long double p = std::pow(warpedRatio(hz, cutoffHz, sampleRate), 2.0L * order);
    return p / (1 + p);
}

} // namespace ChainReference
