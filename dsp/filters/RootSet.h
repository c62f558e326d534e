#pragma once

#include <complex>
#include <limits>

namespace Dsp {

using Complex = std::complex<double>;

// A zero at infinity (the analog prototypes are all-pole).
inline Complex infiniteRoot()
{
    return Complex(std::numeric_limits<double>::infinity(), 0.0);
}

inline bool isInfinite(const Complex& c)
{
    return c == infiniteRoot();
}

// Either a complex-conjugate pole pair with its zero pair, or one real pole
// with one zero (the second pole and zero then stay 0).
struct RootPair
{
    Complex poles[2];
    Complex zeros[2];

    bool isSingle() const { return poles[1] == Complex() && zeros[1] == Complex(); }
};

// The poles and zeros of a design of at most two poles, in fixed storage.
struct RootSet
{
    static constexpr int kMaxPoles = 2;
    static constexpr int kMaxPairs = (kMaxPoles + 1) / 2;

    int numPoles = 0;
    RootPair pairs[kMaxPairs];
    double normalW = 0.0;    // radians, 0..pi: where the response is normalised
    double normalGain = 1.0; // the magnitude wanted there

    int numPairs() const { return (numPoles + 1) / 2; }

    void clear()
    {
        numPoles = 0;
        for (RootPair& pair : pairs)
            pair = RootPair();
    }

    // One real pole and its zero.
    void addSingle(Complex pole, Complex zero)
    {
        RootPair& pair = pairs[numPoles / 2];
        pair.poles[0] = pole;
        pair.zeros[0] = zero;
        pair.poles[1] = Complex();
        pair.zeros[1] = Complex();
        ++numPoles;
    }

    // A pole and zero together with their conjugates.
    void addConjugatePair(Complex pole, Complex zero)
    {
        RootPair& pair = pairs[numPoles / 2];
        pair.poles[0] = pole;
        pair.zeros[0] = zero;
        pair.poles[1] = std::conj(pole);
        pair.zeros[1] = std::conj(zero);
        numPoles += 2;
    }
};

// The analog prototype also remembers the order it was built for (-1: none yet).
struct AnalogRootSet : RootSet
{
    int builtOrder = -1;
};

} // namespace Dsp
