#include "dsp/SignalPath.h"
#include "params/ParamId.h"
#include "params/curves.h"

#include <cmath>

namespace {

constexpr double kHalfPi = 1.5707963267948966;

} // namespace

void SignalPath::stageParameter(uint32_t id, double v)
{
    switch (id)
    {
    case kBypass: bypass = Curves::switchOn(v); break;
    case kScope: scopeOn = Curves::switchOn(v); break;
    case kLeftGain: stage(inputGain.gainL, Curves::faderToGain(v), Operator::inputGain); break;
    case kRightGain: stage(inputGain.gainR, Curves::faderToGain(v), Operator::inputGain); break;
    case kMuteLeft: stage(inputGain.muteL, Curves::switchOn(v), Operator::inputGain); break;
    case kMuteRight: stage(inputGain.muteR, Curves::switchOn(v), Operator::inputGain); break;
    case kInvertLeft: stage(inputGain.invertL, Curves::switchOn(v), Operator::inputGain); break;
    case kInvertRight: stage(inputGain.invertR, Curves::switchOn(v), Operator::inputGain); break;
    case kLeftPan: stage(inputPans.angleL, Curves::angle(v), Operator::inputPans); break;
    case kRightPan: stage(inputPans.angleR, Curves::angle(v), Operator::inputPans); break;
    case kBalance: stage(balance.angle, Curves::angle(v), Operator::balance); break;
    case kAsymmetry: stage(asymmetry.angle, Curves::angle(v), Operator::asymmetry); break;
    case kAsymmCrush: stage(asymmetry.crush, v, Operator::asymmetry); break;
    case kHpGain: stage(highWidth.gain, Curves::faderToGain(v), Operator::highWidth); break;
    case kHpWidth: stageWidth(highWidth, v, Operator::highWidth); break;
    case kHpPan: stage(highPan.angle, Curves::angle(v), Operator::highPan); break;
    case kPanLaw:
    {
        const double law = (v + 1.0) * 3.0; // dB, 3..6
        stage(highPan.law, law, Operator::highPan);
        stage(lowPan.law, law, Operator::lowPan);
        break;
    }
    case kPanCrush:
        stage(highPan.crush, v, Operator::highPan);
        stage(lowPan.crush, v, Operator::lowPan);
        break;
    case kGainTrim: stage(output.gain, Curves::trimToGain(v), Operator::output); break;
    case kLpGain: stage(lowWidth.gain, Curves::faderToGain(v), Operator::lowWidth); break;
    case kLpWidth: stageWidth(lowWidth, v, Operator::lowWidth); break;
    case kLpPan: stage(lowPan.angle, Curves::angle(v), Operator::lowPan); break;
    case kCrossover:
    {
        const uint32_t n = Curves::threeWayIndex(v); // "OFF", "LR-2", "LR-4"
        crossoverOn = n != 0;
        if (n == 1)
            crossover.setSlope(0);
        else if (n == 2)
            crossover.setSlope(1);
        break;
    }
    case kCrossoverFreq:
        crossover.frequency = static_cast<uint32_t>(Curves::logFrequency(v)); // whole hertz, truncated
        crossover.retune();
        break;
    case kInputFormat: inputMS = Curves::switchOn(v); break;
    case kOutputFormat: outputMS = Curves::switchOn(v); break;
    case kSolo: solo = Curves::threeWayIndex(v); break;
    case kMono: stage(output.gainS, Curves::switchOn(v) ? 0.0 : 1.0, Operator::output); break;
    default: break; // ProgSel goes through the program change; unknown IDs are ignored
    }
}

// Width 0..1: 0 folds to mono, 0.5 leaves the image, 1 removes the mid and
// triples the side.
void SignalPath::stageWidth(Stereo::GainMS& width, double v, Operator op)
{
    if (2.0 * v > 1.0)
    {
        const double a = (2.0 * v - 1.0) * kHalfPi;
        stage(width.gainM, std::cos(a), op);
        stage(width.gainS, 2.0 * std::sin(a) + 1.0, op);
    }
    else
    {
        stage(width.gainM, 1.0, op);
        stage(width.gainS, 2.0 * v, op);
    }
}

void SignalPath::updateOperators()
{
    // Each operator once, however many of its fields changed.
    const uint32_t stale = staleOperators;
    staleOperators = 0;
    const auto refresh = [stale](Operator op, auto& target)
    {
        if ((stale >> static_cast<uint32_t>(op)) & 1u)
            target.update();
    };
    refresh(Operator::inputGain, inputGain);
    refresh(Operator::inputPans, inputPans);
    refresh(Operator::balance, balance);
    refresh(Operator::asymmetry, asymmetry);
    refresh(Operator::highWidth, highWidth);
    refresh(Operator::highPan, highPan);
    refresh(Operator::lowWidth, lowWidth);
    refresh(Operator::lowPan, lowPan);
    refresh(Operator::output, output);
}
