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

// The left/right matrix of one band: the operators in signal order (the first
// acts first), the input read as mid/side when inputMS and the result written
// as mid/side when outputMS.
StereoMatrix buildBandMatrix(const BandOperators& ops, bool inputMS, bool outputMS);

// The operators ahead of the band split, multiplied in signal order; both
// bands start from this product.
StereoMatrix commonBandFactor(const BandOperators& ops);
// The same band matrix from that product and the band's own operators.
StereoMatrix buildBandMatrix(const StereoMatrix& common, const BandOperators& ops, bool inputMS, bool outputMS);
