#include "gui/CView.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/IController.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

// A copy is detached and owns no controller.
CView::CView(const CView& other)
    : CBaseObject(other), size(other.size), mouseableArea(other.mouseableArea), background(other.background),
      alphaValue(other.alphaValue), visible(other.visible), mouseEnabled(other.mouseEnabled),
      transparent(other.transparent), wantsFocusFlag(other.wantsFocusFlag)
{
    if (background)
        background->remember();
}

CView::~CView()
{
    if (background)
        background->forget();
    if (attachedController)
    {
        if (auto* object = dynamic_cast<CBaseObject*>(attachedController))
            object->forget();
        else
            delete attachedController;
    }
}

void CView::draw(CDrawContext* context)
{
    if (background)
        background->draw(context, size);
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*updateRect*/)
{
    draw(context);
    setDirty(false);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseExited(CPoint&, const CButtonState&)
{
    return kMouseEventNotImplemented;
}
bool CView::onWheel(const CPoint&, const float&, const CButtonState&)
{
    return false;
}
int32 CView::onKeyDown(VstKeyCode&)
{
    return kKeyNotHandled;
}
int32 CView::onKeyUp(VstKeyCode&)
{
    return kKeyNotHandled;
}

bool CView::attached(CView* parent)
{
    if (attachedFlag)
        return false;
    parentView = parent;
    parentFrame = parent ? parent->getFrame() : nullptr;
    attachedFlag = true;
    invalid();
    return true;
}

bool CView::removed(CView* /*parent*/)
{
    if (!attachedFlag)
        return false;
    // The frame must not send keys to a view that has left it.
    if (parentFrame && parentFrame != this)
        parentFrame->onViewRemoved(this);
    parentView = nullptr;
    parentFrame = nullptr;
    attachedFlag = false;
    return true;
}

void CView::setViewSize(const CRect& rect, bool inv)
{
    if (inv)
        invalid();
    size = rect;
    if (inv)
        invalid();
}

void CView::invalidRect(const CRect& rect)
{
    if (attachedFlag && visible && parentView)
        parentView->invalidRect(rect);
}

void CView::setDirty(bool state)
{
    dirty = state;
    if (state)
        invalid();
}

void CView::setAlphaValue(float alpha)
{
    if (alpha == alphaValue)
        return;
    alphaValue = alpha;
    invalid();
}

void CView::setVisible(bool state)
{
    if (visible == state)
        return;
    if (!state)
        invalid();
    visible = state;
    if (state)
        invalid();
}

void CView::setTransparency(bool state)
{
    transparent = state;
    invalid();
}

void CView::setBackground(CBitmap* bitmap)
{
    if (bitmap)
        bitmap->remember();
    if (background)
        background->forget();
    background = bitmap;
    invalid();
}

CPoint& CView::localToFrame(CPoint& point) const
{
    return parentView ? parentView->localToFrame(point) : point;
}

CPoint& CView::frameToLocal(CPoint& point) const
{
    return parentView ? parentView->frameToLocal(point) : point;
}

void CView::setAttachedController(IController* controller)
{
    attachedController = controller;
}

} // namespace VSTGUI
