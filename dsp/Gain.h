#pragma once

#include "dsp/StereoOp.h"

namespace Stereo {

// Per-channel gain, polarity and mute on left/right samples. Mute wins over invert.
class GainLR : public StereoOp
{
public:
    void update() override;

    // The second argument recomputes at once; false lets a caller set several fields first.
    virtual void setGainL(double value, bool updateNow) { set(gainL, value, updateNow); }
    virtual void setGainR(double value, bool updateNow) { set(gainR, value, updateNow); }
    virtual void setGain(double value, bool updateNow) { set(gain, value, updateNow); }
    virtual void setInvertL(bool value, bool updateNow) { set(invertL, value, updateNow); }
    virtual void setInvertR(bool value, bool updateNow) { set(invertR, value, updateNow); }
    virtual void setMuteL(bool value, bool updateNow) { set(muteL, value, updateNow); }
    virtual void setMuteR(bool value, bool updateNow) { set(muteR, value, updateNow); }

    double gainL = 1.0; // linear
    double gainR = 1.0; // linear
    double gain = 1.0;  // linear, applies to both
    bool invertL = false, invertR = false;
    bool muteL = false, muteR = false;
};

// Mid and side gains: width and level of a band, or the output trim and mono fold.
class GainMS : public StereoOp
{
public:
    void update() override;

    virtual void setGainM(double value, bool updateNow) { set(gainM, value, updateNow); }
    virtual void setGainS(double value, bool updateNow) { set(gainS, value, updateNow); }
    virtual void setGain(double value, bool updateNow) { set(gain, value, updateNow); }

    double gainM = 1.0; // linear
    double gainS = 1.0; // linear
    double gain = 1.0;  // linear, applies to both
};

} // namespace Stereo
