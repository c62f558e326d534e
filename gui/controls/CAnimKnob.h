#pragma once

#include "gui/controls/CKnob.h"
#include "gui/controls/IMultiBitmapControl.h"

namespace VSTGUI {

// A knob drawn as one frame of its background strip: the first frame at the
// minimum, the last at the maximum.
class CAnimKnob : public CKnob, public IMultiBitmapControl
{
public:
    CAnimKnob(const CRect& size, IControlListener* listener = nullptr, int32 tag = 0, CBitmap* background = nullptr);

    void draw(CDrawContext* context) override;

    void setInverseBitmap(bool state) { inverseBitmap = state; }
    bool getInverseBitmap() const { return inverseBitmap; }
    // The frame drawn for the current value.
    int32 getFrameIndex() const;

    CLASS_METHODS(CAnimKnob, CKnob)

private:
    bool inverseBitmap = false;
};

} // namespace VSTGUI
