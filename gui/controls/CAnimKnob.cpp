#include "gui/controls/CAnimKnob.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

#include <cmath>

namespace VSTGUI {

CAnimKnob::CAnimKnob(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background)
    : CKnob(size, listener, tag, background)
{
    heightOfOneImage = size.getHeight();
    if (background && heightOfOneImage > 0)
        subPixmaps = static_cast<int32>(background->getHeight() / heightOfOneImage);
}

int32 CAnimKnob::getFrameIndex() const
{
    if (subPixmaps < 2)
        return 0;
    float normalized = getValueNormalized();
    if (inverseBitmap)
        normalized = 1.f - normalized;
    return static_cast<int32>(std::lround(normalized * static_cast<float>(subPixmaps - 1)));
}

void CAnimKnob::draw(CDrawContext* context)
{
    if (getBackground())
        context->drawBitmap(getBackground(), size, CPoint(0, getFrameIndex() * heightOfOneImage));
    setDirty(false);
}

} // namespace VSTGUI
