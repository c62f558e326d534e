#pragma once

#include "dsp/filters/Filter.h"
#include "dsp/filters/RootSet.h"
#include "dsp/filters/SectionChain.h"

namespace Dsp {
namespace Butterworth {

// Unit-cutoff analog Butterworth poles of the given order (1 or 2), all zeros
// at infinity. Does nothing when the set already holds that order.
void buildAnalogPrototype(AnalogRootSet& analog, int order);

// Bilinear transforms with pre-warping; r is the cutoff as a fraction of the
// sample rate.
void lowPassTransform(double r, RootSet& digital, const RootSet& analog);
void highPassTransform(double r, RootSet& digital, const RootSet& analog);

// cutoff / sampleRate, kept inside (0, kMaxCutoffRatio] so the pre-warping
// tangent stays bounded and the design stable whatever the rates.
constexpr double kMaxCutoffRatio = 0.45;
constexpr double kMinCutoffRatio = 1e-7;
double cutoffRatio(double sampleRate, double cutoff);

// Parameter slots of these designs.
enum ParamSlot
{
    kSampleRateSlot = 0,
    kOrderSlot = 1,
    kCutoffSlot = 2,
};

// One digital design: the analog prototype, its digital roots and the sections.
struct DesignData
{
    AnalogRootSet analog;
    RootSet digital;
    SectionChain chain;
};

enum class Kind
{
    LowPass = 0,
    HighPass = 1,
};

// Designs `data` for {sample rate, order, cutoff}; the order is truncated
// toward zero and kept within 1..maxOrder.
void design(Kind kind, int maxOrder, const double* params, DesignData& data);

ParamInfo describeParam(int index, int maxOrder); // throws std::logic_error for other indices

namespace Design {

template <int MaxOrder, Kind K>
struct Pass : DesignData
{
    static_assert(MaxOrder >= 1 && MaxOrder <= RootSet::kMaxPoles, "orders 1 and 2 only");

    static constexpr int kKind = static_cast<int>(K);
    static constexpr int kParamCount = 3;
    static const char* name() { return K == Kind::LowPass ? "Butterworth Low Pass" : "Butterworth High Pass"; }
    static ParamInfo describeParam(int index) { return Butterworth::describeParam(index, MaxOrder); }

    void setParams(const double* params) { design(K, MaxOrder, params, *this); }
};

template <int MaxOrder>
using LowPass = Pass<MaxOrder, Kind::LowPass>;
template <int MaxOrder>
using HighPass = Pass<MaxOrder, Kind::HighPass>;

} // namespace Design
} // namespace Butterworth
} // namespace Dsp
