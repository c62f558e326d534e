#pragma once

// Long double reference for the processing chain tests: the band matrices as
// closed forms of the normalised parameter values, and the magnitudes of the
// Linkwitz-Riley bands from their analog prototypes.

#include "params/ParamId.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace ChainReference {

using Values = std::array<double, kNumParams>;

struct Matrix
{
    long double m00, m01, m10, m11;
};

inline Matrix operator*(const Matrix& a, const Matrix& b)
{
    return {a.m00 * b.m00 + a.m01 * b.m10, a.m00 * b.m01 + a.m01 * b.m11, a.m10 * b.m00 + a.m11 * b.m10,
            a.m10 * b.m01 + a.m11 * b.m11};
}

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

const long double kPi = 3.141592653589793238462643383279502884L;
const long double kSqrt2 = 1.414213562373095048801688724209698079L;
const Matrix kToMS{0.5L, 0.5L, 0.5L, -0.5L};
const Matrix kToLR{1, 1, 1, -1};
const Matrix kZero{0, 0, 0, 0};

// The defaults of the parameter table, as the project's documentation lists them.
inline Values defaults()
{
    Values v{};
    v[kScope] = 1.0;
    v[kLeftGain] = v[kRightGain] = v[kHpGain] = v[kLpGain] = 0.75;
    v[kRightPan] = 1.0;
    v[kBalance] = v[kAsymmetry] = v[kHpPan] = v[kLpPan] = 0.5;
    v[kAsymmCrush] = v[kPanCrush] = 0.3;
    v[kHpWidth] = v[kLpWidth] = v[kPanLaw] = v[kGainTrim] = 0.5;
    v[kCrossoverFreq] = 0.5283208335737186;
    return v;
}

inline Values with(Values v, const std::vector<std::pair<uint32_t, double>>& changes)
{
    for (const auto& [id, value] : changes)
        v[id] = value;
    return v;
}

// Fader: -12 dB at 0.5, 48 dB per unit above; a logarithm below reaching -70 dB at 0; 0 is silence.
inline long double faderGain(long double v)
{
    if (v == 0)
        return 0;
    const long double db = v >= 0.5L ? (v - 0.5L) * 48 - 12
                                     : std::log(v + 0.06748832704674203L) * 27.239439698243615L + 3.432098663935946L;
    return std::pow(10.0L, db / 20);
}

inline long double angle(long double v)
{
    return kPi / 4 - v * kPi / 2;
}

inline bool on(double v)
{
    return v >= 0.5;
}

// The constant-power (3 dB) to constant-sum blend of a pan law.
inline long double blend(long double lawDb)
{
    return (std::pow(10.0L, (lawDb - 3) / 20) - 1) / (kSqrt2 - 1);
}

inline Matrix fromMS(const Matrix& ms)
{
    return kToMS * ms * kToLR;
}

inline Matrix inputGain(const Values& v)
{
    auto channel = [](double gain, double mute, double invert)
    {
        if (on(mute))
            return 0.0L;
        const long double g = faderGain(gain);
        return on(invert) ? -g : g;
    };
    return {channel(v[kLeftGain], v[kMuteLeft], v[kInvertLeft]), 0, 0,
            channel(v[kRightGain], v[kMuteRight], v[kInvertRight])};
}

inline Matrix inputPans(const Values& v)
{
    const long double b = blend(4.5L);
    const long double l = angle(v[kLeftPan]), r = angle(v[kRightPan]);
    const long double gl = (1 / (std::cos(l) * kSqrt2) - 1) * b + 1;
    const long double gr = (1 / (std::cos(r) * kSqrt2) - 1) * b + 1;
    return {std::cos(kPi / 4 - l) * gl, std::sin(kPi / 4 - l) * gl, std::cos(kPi / 4 - r) * gr,
            std::sin(kPi / 4 - r) * gr};
}

inline Matrix balance(const Values& v)
{
    const long double t = angle(v[kBalance]);
    const long double g = (blend(4.5L) * (1 / std::cos(t) - 1) + 1) * kSqrt2;
    return {std::cos(kPi / 4 - t) * g, 0, 0, std::sin(kPi / 4 - t) * g};
}

inline Matrix asymmetry(const Values& v)
{
    const long double s = angle(v[kAsymmetry]) / (kPi / 4);
    return fromMS({1, 0, s, 1 - std::fabs(s) * v[kAsymmCrush]});
}

inline Matrix width(double gainValue, double widthValue)
{
    long double m = 1, s = 2.0L * widthValue;
    if (2 * widthValue > 1)
    {
        const long double a = (2.0L * widthValue - 1) * kPi / 2;
        m = std::cos(a);
        s = 2 * std::sin(a) + 1;
    }
    const long double g = faderGain(gainValue);
    return fromMS({m * g, 0, 0, s * g});
}

inline Matrix hybridPan(double panValue, const Values& v)
{
    const long double t = angle(panValue);
    const long double b = blend((v[kPanLaw] + 1.0L) * 3);
    const long double u = std::cos(t), sa = std::sin(std::fabs(t)), st = std::sin(t);
    const long double g = (1 / u - 1) * b + 1;
    const long double r = (u - sa) / ((1 - b) * sa + u);
    const long double h = (1 - (1 - r) * v[kPanCrush]) * g;
    return fromMS({u * g, st * g, -(st * h * (1 - b)), u * h});
}

inline Matrix output(const Values& v)
{
    const long double trim = std::pow(10.0L, (12.0L * v[kGainTrim] - 6) / 20);
    return fromMS({trim, 0, 0, on(v[kMono]) ? 0 : trim});
}

// The band matrix, high band (also the full-band matrix) or low band.
inline Matrix band(const Values& v, bool high)
{
    const Matrix bandWidth = high ? width(v[kHpGain], v[kHpWidth]) : width(v[kLpGain], v[kLpWidth]);
    const Matrix bandPan = high ? hybridPan(v[kHpPan], v) : hybridPan(v[kLpPan], v);
    Matrix t = inputGain(v) * inputPans(v) * balance(v) * asymmetry(v) * bandWidth * bandPan * output(v);
    if (on(v[kInputFormat]))
        t = kToLR * t;
    if (on(v[kOutputFormat]))
        t = t * kToMS;
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
    return std::tan(kPi * hz / sampleRate) / std::tan(kPi * cutoffHz / sampleRate);
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
