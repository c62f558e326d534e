#pragma once

#include "dsp/DualPan.h"
#include "dsp/Gain.h"
#include "dsp/Pan.h"
#include "dsp/StereoMatrix.h"

// The operators that feed one band matrix; the band width and band pan are
// those of the band being built.
struct BandOperators
{
    const Stereo::GainLR& inputGain;
    const Stereo::DualPan& inputPans;
    const Stereo::Balance& balance;
    const Stereo::ShearBalance& asymmetry;
    const Stereo::GainMS& bandWidth;
    const Stereo::HybridPan& bandPan;
    const Stereo::GainMS& output;
};

// The operators ahead of the band split, multiplied in signal order; both
// bands start from this product.
inline StereoMatrix commonBandFactor(const BandOperators& ops)
{
    return ops.inputGain.lr * ops.inputPans.lr * ops.balance.lr * ops.asymmetry.lr;
}

// The left/right matrix of one band from that product and the band's own
// operators, in signal order (the first acts first), the input read as
// mid/side when inputMS and the result written as mid/side when outputMS.
// Left to right, as the whole product would be evaluated.
inline StereoMatrix buildBandMatrix(const StereoMatrix& common, const BandOperators& ops, bool inputMS, bool outputMS)
{
    StereoMatrix t = common * ops.bandWidth.lr * ops.bandPan.lr * ops.output.lr;
    if (inputMS)
        t = StereoMatrix::toLR() * t; // read the incoming pair as mid/side first
    if (outputMS)
        t = t * StereoMatrix::toMS(); // write the result as mid/side last
    return t;
}

// The same from the operators alone.
inline StereoMatrix buildBandMatrix(const BandOperators& ops, bool inputMS, bool outputMS)
{
    return buildBandMatrix(commonBandFactor(ops), ops, inputMS, outputMS);
}
