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

void GainLR::setGainL(double value, bool updateNow)
{
    gainL = value;
    if (updateNow)
        update();
}

void GainLR::setGainR(double value, bool updateNow)
{
    gainR = value;
    if (updateNow)
        update();
}

void GainLR::setGain(double value, bool updateNow)
{
    gain = value;
    if (updateNow)
        update();
}

void GainLR::setInvertL(bool value, bool updateNow)
{
    invertL = value;
    if (updateNow)
        update();
}

void GainLR::setInvertR(bool value, bool updateNow)
{
    invertR = value;
    if (updateNow)
        update();
}

void GainLR::setMuteL(bool value, bool updateNow)
{
    muteL = value;
    if (updateNow)
        update();
}

void GainLR::setMuteR(bool value, bool updateNow)
{
    muteR = value;
    if (updateNow)
        update();
}

void GainMS::update()
{
    ms.m00 = gainM * gain;
    ms.m11 = gainS * gain;
    deriveLrFromMs();
}

void GainMS::setGainM(double value, bool updateNow)
{
    gainM = value;
    if (updateNow)
        update();
}

void GainMS::setGainS(double value, bool updateNow)
{
    gainS = value;
    if (updateNow)
        update();
}

void GainMS::setGain(double value, bool updateNow)
{
    gain = value;
    if (updateNow)
        update();
}

} // namespace Stereo
