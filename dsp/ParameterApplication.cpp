#include "dsp/SignalPath.h"
#include "params/ParamId.h"
#include "params/curves.h"

#include <cmath>

namespace {

constexpr double kHalfPi = 1.5707963267948966;

// Width 0..1: 0 folds to mono, 0.5 leaves the image, 1 removes the mid and
// triples the side.
void applyWidth(Stereo::GainMS& width, double v)
{
    if (2.0 * v > 1.0)
    {
        const double a = (2.0 * v - 1.0) * kHalfPi;
        width.setGainM(std::cos(a), false);
        width.setGainS(2.0 * std::sin(a) + 1.0, true);
    }
    else
    {
        width.setGainM(1.0, false);
        width.setGainS(2.0 * v, true);
    }
}

} // namespace

void SignalPath::applyParameter(uint32_t id, double v)
{
    if (!std::isfinite(v))
        return; // a host that sends garbage must not corrupt the settings
    v = Curves::clampNormalized(v, 0.0);

    switch (id)
    {
    case kBypass: bypass = Curves::switchOn(v); break;
    case kScope: scopeOn = Curves::switchOn(v); break;
    case kLeftGain: inputGain.setGainL(Curves::faderToGain(v), true); break;
    case kRightGain: inputGain.setGainR(Curves::faderToGain(v), true); break;
    case kMuteLeft: inputGain.setMuteL(Curves::switchOn(v), true); break;
    case kMuteRight: inputGain.setMuteR(Curves::switchOn(v), true); break;
    case kInvertLeft: inputGain.setInvertL(Curves::switchOn(v), true); break;
    case kInvertRight: inputGain.setInvertR(Curves::switchOn(v), true); break;
    case kLeftPan: inputPans.setAngleL(Curves::angle(v)); break;
    case kRightPan: inputPans.setAngleR(Curves::angle(v)); break;
    case kBalance: balance.setAngle(Curves::angle(v)); break;
    case kAsymmetry: asymmetry.setAngle(Curves::angle(v)); break;
    case kAsymmCrush: asymmetry.setCrush(v); break;
    case kHpGain: highWidth.setGain(Curves::faderToGain(v), true); break;
    case kHpWidth: applyWidth(highWidth, v); break;
    case kHpPan: highPan.setAngle(Curves::angle(v)); break;
    case kPanLaw:
    {
        const double law = (v + 1.0) * 3.0; // dB, 3..6
        highPan.setLaw(law);
        lowPan.setLaw(law);
        break;
    }
    case kPanCrush:
        highPan.setCrush(v);
        lowPan.setCrush(v);
        break;
    case kGainTrim: output.setGain(Curves::trimToGain(v), true); break;
    case kLpGain: lowWidth.setGain(Curves::faderToGain(v), true); break;
    case kLpWidth: applyWidth(lowWidth, v); break;
    case kLpPan: lowPan.setAngle(Curves::angle(v)); break;
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
    case kMono: output.setGainS(Curves::switchOn(v) ? 0.0 : 1.0, true); break;
    default: break; // ProgSel goes through the program change; unknown IDs are ignored
    }
}
