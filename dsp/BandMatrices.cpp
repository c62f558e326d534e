#include "dsp/BandMatrices.h"

StereoMatrix buildBandMatrix(const BandOperators& ops, bool inputMS, bool outputMS)
{
    StereoMatrix t = ops.inputGain.lr * ops.inputPans.lr * ops.balance.lr * ops.asymmetry.lr * ops.bandWidth.lr *
                     ops.bandPan.lr * ops.output.lr;
    if (inputMS)
        t = StereoMatrix::toLR() * t; // read the incoming pair as mid/side first
    if (outputMS)
        t = t * StereoMatrix::toMS(); // write the result as mid/side last
    return t;
}
