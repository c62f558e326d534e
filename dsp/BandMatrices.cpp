#include "dsp/BandMatrices.h"

StereoMatrix commonBandFactor(const BandOperators& ops)
{
    return ops.inputGain.lr * ops.inputPans.lr * ops.balance.lr * ops.asymmetry.lr;
}

StereoMatrix buildBandMatrix(const BandOperators& ops, bool inputMS, bool outputMS)
{
    return buildBandMatrix(commonBandFactor(ops), ops, inputMS, outputMS);
}

StereoMatrix buildBandMatrix(const StereoMatrix& common, const BandOperators& ops, bool inputMS, bool outputMS)
{
    // Left to right, as the whole product would be evaluated.
    StereoMatrix t = common * ops.bandWidth.lr * ops.bandPan.lr * ops.output.lr;
    if (inputMS)
        t = StereoMatrix::toLR() * t; // read the incoming pair as mid/side first
    if (outputMS)
        t = t * StereoMatrix::toMS(); // write the result as mid/side last
    return t;
}
