#pragma once

#include "dsp/filters/RootSet.h"

namespace Dsp {

// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (a0 + a1 z^-1 + a2 z^-2); a0 is always 1.
struct SecondOrderSection
{
    double a0 = 1.0, a1 = 0.0, a2 = 0.0;
    double b0 = 1.0, b1 = 0.0, b2 = 0.0;

    // The section of one root pair (a single real root or a conjugate pair).
    static SecondOrderSection fromRoots(const RootPair& pair);
};

// The digital filter as sections in series; orders 1 and 2 need exactly one.
struct SectionChain
{
    static constexpr int kMaxSections = 1;

    int numSections = 0;
    SecondOrderSection sections[kMaxSections];

    // Builds the sections from the digital roots and scales the first one so
    // that the magnitude at roots.normalW is roots.normalGain.
    void setLayout(const RootSet& roots);

    // Response at a frequency given as a fraction of the sample rate.
    Complex response(double normalizedFrequency) const;
};

} // namespace Dsp
