#pragma once

#include "dsp/StereoMatrix.h"

#include <limits>

namespace Stereo {

// sqrt(2.0), computed once when the module loads; every pan formula uses this value.
extern const double kSqrt2;
constexpr double kQuarterPi = 0.7853981633974483; // radians: hard left

// One stereo control as a linear map of the sample pair. Setters store their
// fields and recompute both forms, so the chain only ever multiplies matrices.
class StereoOp
{
public:
    // Recomputes lr and ms from the fields; afterwards ms == toLR * lr * toMS.
    virtual void update() = 0;
    virtual ~StereoOp() = default;

    StereoMatrix lr = StereoMatrix::identity(); // left/right form, the one the chain multiplies
    StereoMatrix ms = StereoMatrix::identity(); // the same map on mid/side samples

protected:
    // Stores a field and, when asked, recomputes both forms; false lets a
    // caller set several fields first.
    template <typename T>
    void set(T& field, T value, bool updateNow)
    {
        field = value;
        if (updateNow)
            update();
    }

    // Completes ms from lr (toLR * lr * toMS), or lr from ms (toMS * ms * toLR),
    // for operators that define one form. Written out: the products' factors
    // of 1 and -1 are exact, so these are their bits with half the work.
    void deriveMsFromLr()
    {
        const double t00 = lr.m00 + lr.m10, t01 = lr.m01 + lr.m11; // toLR * lr
        const double t10 = lr.m00 - lr.m10, t11 = lr.m01 - lr.m11;
        ms = StereoMatrix(t00 * 0.5 + t01 * 0.5, t00 * 0.5 - t01 * 0.5, t10 * 0.5 + t11 * 0.5, t10 * 0.5 - t11 * 0.5);
    }
    void deriveLrFromMs()
    {
        const double t00 = 0.5 * ms.m00 + 0.5 * ms.m10, t01 = 0.5 * ms.m01 + 0.5 * ms.m11; // toMS * ms
        const double t10 = 0.5 * ms.m00 - 0.5 * ms.m10, t11 = 0.5 * ms.m01 - 0.5 * ms.m11;
        lr = StereoMatrix(t00 + t01, t00 - t01, t10 + t11, t10 - t11);
    }
};

// Blend between the constant-power (0, at 3 dB) and constant-sum (1, at 3 + 20 log10 sqrt 2 dB) laws.
double lawBlend(double law); // law in dB

// lawBlend of the last law asked for: the law seldom changes while angles are
// automated, so the power function runs only when it does.
struct LawBlendCache
{
    double of(double law)
    {
        if (!(law == lastLaw))
        {
            lastLaw = law;
            blend = lawBlend(law);
        }
        return blend;
    }

    double lastLaw = std::numeric_limits<double>::quiet_NaN(); // dB; none yet
    double blend = 0.0;
};

} // namespace Stereo
