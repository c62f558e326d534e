#pragma once

#include "dsp/filters/SectionChain.h"

#include <cmath>

namespace Dsp {

// One channel's state of a single-section chain in Direct Form II.
struct DirectFormII
{
    double offset = 1e-8; // flips sign every sample so the state never decays into denormals
    double w1 = 0.0, w2 = 0.0;

    void clear()
    {
        w1 = 0.0;
        w2 = 0.0;
    }

    bool isFinite() const { return std::isfinite(w1) && std::isfinite(w2); }

    double process(double x, const SectionChain& chain)
    {
        static_assert(SectionChain::kMaxSections == 1, "the state holds one section");
        return process(x, chain.sections[0]);
    }

    // One sample through one section; the offset enters here, the first (only) section.
    double process(double x, const SecondOrderSection& s)
    {
        offset = -offset;
        const double w = x - s.a1 * w1 - s.a2 * w2 + offset;
        const double y = s.b0 * w + s.b1 * w1 + s.b2 * w2;
        w2 = w1;
        w1 = w;
        return y;
    }
};

} // namespace Dsp
