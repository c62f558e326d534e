#pragma once

#include "dsp/StereoOp.h"

namespace Stereo {

// A panner of the whole pair: an angle, a pan law and a crush amount; each
// subclass reads the fields it needs. Every setter recomputes at once.
class Pan : public StereoOp
{
public:
    virtual void setAngle(double value) { set(angle, value, true); }
    virtual void setLaw(double value) { set(law, value, true); }
    virtual void setCrush(double value) { set(crush, value, true); }

    double angle = 0.0; // radians, +pi/4 hard left .. -pi/4 hard right
    double law = 4.5;   // dB, 3..6
    double crush = 1.0; // 0..1

protected:
    LawBlendCache blendOfLaw;
};

// Attenuates one side only; the centre is never attenuated and the other side
// is raised by about the law.
class Balance : public Pan
{
public:
    void update() override;
};

// Shears the image in mid/side terms (M' = M + s S) and narrows it by crush (S' = (1 - |s| crush) S).
class ShearBalance : public Pan
{
public:
    void update() override;
};

// Rotation (constant power) blended with a shear (constant sum) by the law;
// crush narrows the side towards the hard positions.
class HybridPan : public Pan
{
public:
    void update() override;
};

} // namespace Stereo
