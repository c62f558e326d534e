#pragma once

#include <cmath>
#include <cstdint>

// The value curves shared by the parameter classes (texts) and the processor
// (signal path). Each exists once, here.
namespace Curves {

// Fader: 0..1 onto -70..+12 dB; linear in dB above the knee, logarithmic below.
constexpr double kFaderUpperSlope = 48.0; // dB per unit above the knee
constexpr double kFaderKnee = 0.5;
constexpr double kFaderKneeDb = -12.0;
// A ln(v + B) + C meets the upper line at the knee with equal value and slope
// and gives -70 dB at v = 0.
constexpr double kFaderCurveScale = 27.239439698243615;   // A
constexpr double kFaderCurveOffset = 0.06748832704674203; // B
constexpr double kFaderCurveBias = 3.432098663935946;     // C

double faderToDb(double v);   // any v in 0..1; 0 gives -70 dB
double dbToFader(double db);  // clamped to 0..1; NaN gives 0
double faderToGain(double v); // linear gain; exactly 0 at v == 0 (silence)

// Crossover frequency: 100 * 8^v Hz, computed as 100^(v * ln800/ln100 - v + 1).
constexpr double kFrequencyMinimum = 100.0; // Hz
constexpr double kFrequencyMaximum = 800.0; // Hz
double logFrequency(double v);              // Hz
double frequencyToNormalized(double hz);    // clamped to 0..1; 0 for hz <= 0

// Pan angle in radians: +pi/4 hard left at 0, centre at 0.5, -pi/4 hard right at 1.
inline double angle(double v)
{
    return v * -1.5707963267948966 + 0.7853981633974483;
}

// Three-entry lists: 0 below 1/3, 1 below 2/3, else 2 (also for negative v).
uint32_t threeWayIndex(double v);

// Switches and two-entry lists are on from 0.5.
inline bool switchOn(double v)
{
    return v >= 0.5;
}

// Output trim: -6..+6 dB as a linear gain.
double trimToGain(double v);

// Clamps a host value into 0..1; non-finite values give the fallback.
inline double clampNormalized(double v, double fallback)
{
    if (v > 0.0 && v < 1.0)
        return v; // the usual case, in two comparisons
    if (!std::isfinite(v))
        return fallback;
    // Written so that a negative subnormal, which compares as zero on a thread
    // with denormals-are-zero set (the audio thread), still ends up at 0.
    if (!(v > 0.0))
        return 0.0;
    return 1.0;
}

// Clamps a normalised value converted from a plain one: an infinite plain
// value lands on its end of the range, NaN on 0.
inline double clampFromPlain(double v)
{
    return clampNormalized(v, v > 0.0 ? 1.0 : 0.0);
}

} // namespace Curves
