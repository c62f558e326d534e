#include "gui/CDrawContext.h"

namespace VSTGUI {

void CDrawContext::setFont(CFontRef font, CCoord size, int32 style)
{
    if (!font)
        return;
    state.font = CFontDesc(font->getName(), size > 0 ? size : font->getSize(), style >= 0 ? style : font->getStyle());
}

void CDrawContext::setClipRect(const CRect& r)
{
    state.clip = r;
    state.clip.offset(state.offset);
}

void CDrawContext::getClipRect(CRect& r) const
{
    r = state.clip;
    r.offset(-state.offset.x, -state.offset.y);
}

void CDrawContext::offsetOrigin(const CPoint& p)
{
    state.offset.offset(p);
}

void CDrawContext::saveGlobalState()
{
    savedStates.push_back(state);
}

void CDrawContext::restoreGlobalState()
{
    if (savedStates.empty())
        return;
    state = savedStates.back();
    savedStates.pop_back();
}

} // namespace VSTGUI
