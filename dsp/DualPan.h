#pragma once

#include "dsp/StereoOp.h"

namespace Stereo {

// Places each input channel by its own angle; unity at the hard positions,
// the centre attenuated by the law.
class DualPan : public StereoOp
{
public:
    void update() override;

    virtual void setAngleL(double value);
    virtual void setAngleR(double value);
    virtual void setAngles(double left, double right);
    virtual void setLaw(double value);

    double angleL = kQuarterPi;  // radians, hard left
    double angleR = -kQuarterPi; // radians, hard right
    double law = 4.5;            // dB, 3..6

private:
    LawBlendCache blendOfLaw;
};

} // namespace Stereo
