#include "dsp/filters/SectionChain.h"

#include <cmath>

namespace Dsp {

namespace {

constexpr double kPi = 3.141592653589793;

// c + v * z, part by part
Complex addScaled(Complex c, double v, Complex z)
{
    return Complex(c.real() + v * z.real(), c.imag() + v * z.imag());
}

// The numerator b1, b2 or denominator a1, a2 of a root pair (the leading coefficient is 1).
void pairCoefficients(const Complex& r1, const Complex& r2, double& c1, double& c2)
{
    if (r1.imag() != 0.0)
    {
        c1 = -2.0 * r1.real();
        c2 = std::norm(r1);
    }
    else
    {
        c1 = -(r1.real() + r2.real());
        c2 = r1.real() * r2.real();
    }
}

} // namespace

SecondOrderSection SecondOrderSection::fromRoots(const RootPair& pair)
{
    SecondOrderSection s;
    if (pair.isSingle())
    {
        s.a1 = -pair.poles[0].real();
        s.a2 = 0.0;
        s.b0 = -pair.zeros[0].real();
        s.b1 = 1.0;
        s.b2 = 0.0;
    }
    else
    {
        pairCoefficients(pair.poles[0], pair.poles[1], s.a1, s.a2);
        s.b0 = 1.0;
        pairCoefficients(pair.zeros[0], pair.zeros[1], s.b1, s.b2);
    }
    s.a0 = 1.0;
    return s;
}

void SectionChain::setLayout(const RootSet& roots)
{
    numSections = (roots.numPoles + 1) / 2;
    for (int i = 0; i < numSections; ++i)
        sections[i] = SecondOrderSection::fromRoots(roots.pairs[i]);
    for (int i = numSections; i < kMaxSections; ++i)
        sections[i] = SecondOrderSection();
    if (numSections == 0)
        return;

    const double scale = roots.normalGain / std::abs(response(roots.normalW / (2.0 * kPi)));
    sections[0].b0 *= scale;
    sections[0].b1 *= scale;
    sections[0].b2 *= scale;
}

Complex SectionChain::response(double normalizedFrequency) const
{
    const double w = 2.0 * kPi * normalizedFrequency;
    const Complex zInv1 = std::polar(1.0, -w);
    const Complex zInv2 = std::polar(1.0, -2.0 * w);
    Complex numerator(1.0);
    Complex denominator(1.0);
    for (int i = 0; i < numSections; ++i)
    {
        const SecondOrderSection& s = sections[i];
        Complex top(s.b0);
        top = addScaled(top, s.b1, zInv1);
        top = addScaled(top, s.b2, zInv2);
        Complex bottom(1.0);
        bottom = addScaled(bottom, s.a1, zInv1);
        bottom = addScaled(bottom, s.a2, zInv2);
        numerator *= top;
        denominator *= bottom;
    }
    return numerator / denominator;
}

} // namespace Dsp
