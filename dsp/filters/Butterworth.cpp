#include "dsp/filters/Butterworth.h"

#include <cmath>
#include <stdexcept>

namespace Dsp {
namespace Butterworth {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

// Maps every root pair of `analog` through `transform` into `digital`.
template <class Transform>
void transformRoots(const RootSet& analog, RootSet& digital, Transform transform)
{
    digital.clear();
    for (int i = 0; i < analog.numPairs(); ++i)
    {
        const RootPair& pair = analog.pairs[i];
        if (pair.isSingle())
            digital.addSingle(transform(pair.poles[0]), transform(pair.zeros[0]));
        else
            digital.addConjugatePair(transform(pair.poles[0]), transform(pair.zeros[0]));
    }
}

} // namespace

void buildAnalogPrototype(AnalogRootSet& analog, int order)
{
    if (analog.builtOrder == order)
        return;
    analog.clear();
    const double twiceOrder = 2.0 * order;
    for (int k = 1; k < order; k += 2)
    {
        const double x = k * kPi / twiceOrder + kHalfPi;
        analog.addConjugatePair(std::polar(1.0, x), infiniteRoot());
    }
    if (order & 1)
        analog.addSingle(Complex(-1.0, 0.0), infiniteRoot());
    analog.builtOrder = order;
}

void lowPassTransform(double r, RootSet& digital, const RootSet& analog)
{
    const double f = std::tan(kPi * r); // pre-warped cutoff
    transformRoots(analog, digital,
                   [f](Complex s)
                   {
                       if (isInfinite(s))
                           return Complex(-1.0, 0.0);
                       s = f * s;
                       return (1.0 + s) / (1.0 - s);
                   });
    digital.normalW = analog.normalW;
    digital.normalGain = analog.normalGain;
}

void highPassTransform(double r, RootSet& digital, const RootSet& analog)
{
    const double f = 1.0 / std::tan(kPi * r);
    transformRoots(analog, digital,
                   [f](Complex s)
                   {
                       if (isInfinite(s))
                           return Complex(1.0, 0.0);
                       s = f * s;
                       return -(1.0 + s) / (1.0 - s);
                   });
    digital.normalW = kPi - analog.normalW;
    digital.normalGain = analog.normalGain;
}

double cutoffRatio(double sampleRate, double cutoff)
{
    double r = cutoff / sampleRate;
    if (!(r <= kMaxCutoffRatio)) // also NaN and a zero sample rate
        r = kMaxCutoffRatio;
    if (!(r >= kMinCutoffRatio))
        r = kMinCutoffRatio;
    return r;
}

void design(Kind kind, int maxOrder, const double* params, DesignData& data)
{
    double order = params[kOrderSlot];
    if (!(order >= 1.0))
        order = 1.0;
    if (order > maxOrder)
        order = maxOrder;
    buildAnalogPrototype(data.analog, static_cast<int>(order)); // truncated toward zero

    const double r = cutoffRatio(params[kSampleRateSlot], params[kCutoffSlot]);
    if (kind == Kind::LowPass)
        lowPassTransform(r, data.digital, data.analog);
    else
        highPassTransform(r, data.digital, data.analog);
    data.chain.setLayout(data.digital);
}

ParamInfo describeParam(int index, int maxOrder)
{
    switch (index)
    {
    case kSampleRateSlot: return {0, "Fs", "Sample Rate", 11025.0, 192000.0, 44100.0};
    case kOrderSlot: return {7, "Order", "Order", 1.0, double(maxOrder), double(maxOrder)};
    case kCutoffSlot: return {1, "Fc", "Cutoff Frequency", 10.0, 22040.0, 2000.0};
    default: throw std::logic_error("invalid usage of ParamInfo");
    }
}

} // namespace Butterworth
} // namespace Dsp
