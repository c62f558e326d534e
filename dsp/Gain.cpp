#include "dsp/Gain.h"

namespace Stereo {

namespace {
// Mute takes precedence over polarity inversion.
double channelFactor(double channelGain, bool invert, bool mute, double gain)
{
    double a = mute ? 0.0 : (invert ? -channelGain : channelGain);
    a = a * gain;
    return a;
}
} // namespace

void GainLR::update()
{
    lr.m00 = channelFactor(gainL, invertL, muteL, gain);
    lr.m11 = channelFactor(gainR, invertR, muteR, gain);
    deriveMsFromLr();
}

void GainMS::update()
{
    ms.m00 = gainM * gain;
    ms.m11 = gainS * gain;
    deriveLrFromMs();
}

} // namespace Stereo
