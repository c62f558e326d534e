#include "curves.h"

#include <cmath>

namespace Curves {

namespace {
const double kLn100 = std::log(kFrequencyMinimum);
const double kLogRatio = std::log(kFrequencyMaximum) / kLn100; // ln 800 / ln 100
} // namespace

double faderToDb(double v)
{
    if (v >= kFaderKnee)
        return (v - kFaderKnee) * kFaderUpperSlope + kFaderKneeDb;
    return kFaderCurveScale * std::log(v + kFaderCurveOffset) + kFaderCurveBias;
}

double dbToFader(double db)
{
    double v;
    if (db >= kFaderKneeDb)
        v = (db - kFaderKneeDb) / kFaderUpperSlope + kFaderKnee;
    else
        v = std::exp((db - kFaderCurveBias) / kFaderCurveScale) - kFaderCurveOffset;
    return clampFromPlain(v);
}

double faderToGain(double v)
{
    if (v == 0.0)
        return 0.0;
    return std::pow(10.0, faderToDb(v) * 0.05);
}

double logFrequency(double v)
{
    return std::pow(kFrequencyMinimum, v * kLogRatio - v + 1.0);
}

double frequencyToNormalized(double hz)
{
    if (!(hz > 0.0))
        return 0.0;
    return clampFromPlain((std::log(hz) / kLn100 - 1.0) / (kLogRatio - 1.0));
}

uint32_t threeWayIndex(double v)
{
    // trunc(3 v), read as unsigned: a negative index wraps round to the last entry
    const double n = std::trunc(3.0 * v);
    if (!(n >= 0.0) || n >= 2.0)
        return 2;
    return static_cast<uint32_t>(n);
}

double trimToGain(double v)
{
    return std::pow(10.0, (v * 12.0 - 6.0) * 0.05);
}

} // namespace Curves
