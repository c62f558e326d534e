#pragma once

#include "dsp/StereoOp.h"

namespace Stereo {

// Places each input channel by its own angle; unity at the hard positions,
// the centre attenuated by the law.
class DualPan : public StereoOp
{
public:
    void update() override;

    virtual void setAngleL(double value) { set(angleL, value, true); }
    virtual void setAngleR(double value) { set(angleR, value, true); }
    virtual void setAngles(double left, double right);
    virtual void setLaw(double value) { set(law, value, true); }

    double angleL = kQuarterPi;  // radians, hard left
    double angleR = -kQuarterPi; // radians, hard right
    double law = 4.5;            // dB, 3..6

private:
    LawBlendCache blendOfLaw;
};

} // namespace Stereo
