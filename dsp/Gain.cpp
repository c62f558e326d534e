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
    setLr(channelFactor(gainL, invertL, muteL, gain), 0.0, 0.0, channelFactor(gainR, invertR, muteR, gain));
}

void GainMS::update()
{
    setMs(gainM * gain, 0.0, 0.0, gainS * gain);
}

} // namespace Stereo
