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

    // For operators that define one form: sets it and completes the other,
    // ms = toLR * lr * toMS or lr = toMS * ms * toLR. Written out: the
    // products' factors of 1 and -1 are exact, so these are their bits with
    // half the work.
    void setLr(double a00, double a01, double a10, double a11)
    {
        lr.setRows(a00, a01, a10, a11);
        const double t00 = a00 + a10, t01 = a01 + a11; // toLR * lr
        const double t10 = a00 - a10, t11 = a01 - a11;
        ms.setRows(t00 * 0.5 + t01 * 0.5, t00 * 0.5 - t01 * 0.5, t10 * 0.5 + t11 * 0.5, t10 * 0.5 - t11 * 0.5);
    }
    void setMs(double a00, double a01, double a10, double a11)
    {
        ms.setRows(a00, a01, a10, a11);
        const double t00 = 0.5 * a00 + 0.5 * a10, t01 = 0.5 * a01 + 0.5 * a11; // toMS * ms
        const double t10 = 0.5 * a00 - 0.5 * a10, t11 = 0.5 * a01 - 0.5 * a11;
        lr.setRows(t00 + t01, t00 - t01, t10 + t11, t10 - t11);
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
