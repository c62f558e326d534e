#pragma once

#include "dsp/BandMatrices.h"
#include "dsp/Crossover.h"
#include "dsp/DualPan.h"
#include "dsp/Gain.h"
#include "dsp/Pan.h"
#include "dsp/StereoMatrix.h"

#include <cstdint>

// Everything a parameter value can set: the nine operators in signal order,
// the switches and the crossover. The processing chain owns one and applies
// every parameter through it.
class SignalPath
{
public:
    Stereo::GainLR inputGain;
    Stereo::DualPan inputPans;
    Stereo::Balance balance;
    Stereo::ShearBalance asymmetry;
    Stereo::GainMS highWidth;
    Stereo::HybridPan highPan;
    Stereo::GainMS lowWidth;
    Stereo::HybridPan lowPan;
    Stereo::GainMS output;
    bool bypass = false, scopeOn = false, crossoverOn = false, inputMS = false, outputMS = false;
    uint32_t solo = 0; // 0 none, 1 high band only, 2 low band only
    Dsp::Crossover crossover;

    // Sets what one normalised value in 0..1 decides (IDs 1..28; anything else
    // is ignored). The operators it changes are recomputed only by the next
    // updateOperators(): a caller that sets many values recomputes each
    // operator once. Values arrive clamped from where they enter the plug-in.
    void stageParameter(uint32_t id, double v);
    void updateOperators();

    // The high-band and low-band matrices of the current settings.
    void buildBandMatrices(StereoMatrix& high, StereoMatrix& low) const
    {
        const StereoMatrix common = commonBandFactor(highBand()); // the operators both bands share, once
        high = buildBandMatrix(common, highBand(), inputMS, outputMS);
        low = buildBandMatrix(common, lowBand(), inputMS, outputMS);
    }
    // The high-band matrix alone: the full-band matrix while the crossover is off.
    StereoMatrix buildHighBandMatrix() const { return buildBandMatrix(highBand(), inputMS, outputMS); }

private:
    // The operators in signal order, as bits of staleOperators.
    enum class Operator : uint32_t
    {
        inputGain,
        inputPans,
        balance,
        asymmetry,
        highWidth,
        highPan,
        lowWidth,
        lowPan,
        output,
    };
    // Stores a field of an operator and marks the operator for the next
    // updateOperators().
    template <typename T>
    void stage(T& field, T value, Operator op)
    {
        field = value;
        staleOperators |= 1u << static_cast<uint32_t>(op);
    }
    void stageWidth(Stereo::GainMS& width, double v, Operator op);

    uint32_t staleOperators = 0;

    BandOperators highBand() const { return {inputGain, inputPans, balance, asymmetry, highWidth, highPan, output}; }
    BandOperators lowBand() const { return {inputGain, inputPans, balance, asymmetry, lowWidth, lowPan, output}; }
};
