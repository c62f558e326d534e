#include "gui/CFrame.h"

#include "gui/CDrawContext.h"

namespace VSTGUI {

CFrame::CFrame(const CRect& size) : CViewContainer(size)
{
    setParentFrame(this);
}

CFrame::~CFrame()
{
    close();
}

bool CFrame::open(void* parent)
{
    if (platformFrame)
        return false;
    auto window = IPlatformFrame::create(this, parent);
    if (!window)
        return false;
    return open(std::move(window));
}

bool CFrame::open(std::unique_ptr<IPlatformFrame> platform)
{
    if (platformFrame || !platform)
        return false;
    platformFrame = std::move(platform);
    attachChildren();
    return true;
}

void CFrame::attachChildren()
{
    attachedFlag = true;
    for (CView* child : children)
        child->attached(this);
    invalid();
}

void CFrame::close()
{
    // Before the views go: a view with the focus may hand back the window's.
    setFocusView(nullptr);
    if (animator)
        animator->removeAll();
    setModalView(nullptr);
    removeAll();
    animator.reset();
    attachedFlag = false;
    platformFrame.reset();
}

bool CFrame::setModalView(CView* view)
{
    if (view && modalView)
        return false;
    if (modalView)
    {
        CView* previous = modalView;
        modalView = nullptr;
        CViewContainer::removeView(previous, false);
        previous->forget();
    }
    if (!view)
        return true;
    if (!addView(view))
        return false;
    view->remember();
    modalView = view;
    mouseDownView = nullptr;
    return true;
}

bool CFrame::removeView(CView* view, bool withForget)
{
    // The container's and the modal slot's hold is one reference, released here.
    if (view && view == modalView)
        modalView = nullptr;
    return CViewContainer::removeView(view, withForget);
}

Animation::Animator* CFrame::getAnimator()
{
    if (!animator)
        animator = owned(new Animation::Animator);
    return animator;
}

void CFrame::setScaleFactor(double factor)
{
    if (!(factor > 0) || factor == scaleFactor)
        return;
    scaleFactor = factor;
    if (platformFrame)
        platformFrame->setScaleFactor(factor);
    invalid();
}

void CFrame::platformOnSystemScaleChanged(double scale)
{
    if (systemScaleHandler && scale > 0)
        systemScaleHandler(scale);
}

void CFrame::invalidRect(const CRect& rect)
{
    CRect r = rect;
    r.bound(size);
    if (platformFrame && !r.isEmpty())
        platformFrame->invalidRect(r);
}

void CFrame::platformDrawRect(CDrawContext* context, const CRect& rect)
{
    drawRect(context, rect);
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!modalView)
        return CViewContainer::onMouseDown(where, buttons);
    mouseDownView = nullptr;
    if (!modalView->isVisible() || !modalView->getMouseEnabled())
        return kMouseEventNotHandled;
    CView* view = modalView;
    view->remember();
    CPoint p = where;
    const CMouseEventResult result = view->onMouseDown(p, buttons);
    if (result == kMouseEventHandled && modalView == view)
        mouseDownView = view;
    view->forget();
    return result;
}

bool CFrame::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons)
{
    if (modalView)
        return modalView->isVisible() && modalView->getMouseEnabled() && modalView->onWheel(where, distance, buttons);
    return CViewContainer::onWheel(where, distance, buttons);
}

CMouseEventResult CFrame::platformOnMouseDown(CPoint& where, const CButtonState& buttons)
{
    CView* target = viewAt(where);
    mouseOverView = target;
    // A click elsewhere takes the focus from a view that has it.
    setFocusView(target && target->wantsFocus() ? target : nullptr);
    return onMouseDown(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseMoved(CPoint& where, const CButtonState& buttons)
{
    mouseOverView = viewAt(where);
    return onMouseMoved(where, buttons);
}

void CFrame::platformOnMouseExited()
{
    mouseOverView = nullptr;
}

CMouseEventResult CFrame::platformOnMouseUp(CPoint& where, const CButtonState& buttons)
{
    return onMouseUp(where, buttons);
}

bool CFrame::platformOnMouseWheel(const CPoint& where, float distance, const CButtonState& buttons)
{
    return onWheel(where, distance, buttons);
}

CView* CFrame::viewAt(const CPoint& where) const
{
    if (!modalView)
        return getViewAt(where);
    if (!modalView->isVisible() || !modalView->getMouseEnabled() || !modalView->getMouseableArea().pointInside(where))
        return nullptr;
    if (auto* container = dynamic_cast<CViewContainer*>(modalView))
    {
        const CRect& box = container->getViewSize();
        if (CView* inner = container->getViewAt(CPoint(where.x - box.left, where.y - box.top)))
            return inner;
    }
    return modalView;
}

// While a modal view is up, the views beneath it get no keys.
bool CFrame::reachable(const CView* view) const
{
    if (!view || !modalView || view == modalView)
        return view != nullptr;
    auto* container = dynamic_cast<CViewContainer*>(modalView);
    return container && container->isChild(view, true);
}

void CFrame::setFocusView(CView* view)
{
    if (view == focusView)
        return;
    CView* previous = focusView;
    focusView = view;
    if (previous)
    {
        SharedPointer<CView> hold(previous);
        previous->looseFocus();
    }
    if (view && focusView == view)
        view->takeFocus();
}

void CFrame::onViewRemoved(CView* view)
{
    if (mouseOverView == view)
        mouseOverView = nullptr;
    if (focusView == view)
    {
        focusView = nullptr;
        view->looseFocus();
    }
}

void CFrame::platformOnKeyboardFocusLost()
{
    setFocusView(nullptr);
}

bool CFrame::platformOnKeyDown(VstKeyCode& keyCode)
{
    return dispatchKey(keyCode, true);
}

bool CFrame::platformOnKeyUp(VstKeyCode& keyCode)
{
    return dispatchKey(keyCode, false);
}

bool CFrame::dispatchKey(VstKeyCode& keyCode, bool down)
{
    // Read anew at each step: a handler may remove views.
    CView* const* const targets[] = {&focusView, &mouseOverView, &modalView};
    CView* asked[3] = {};
    for (size_t i = 0; i < 3; ++i)
    {
        CView* view = *targets[i];
        asked[i] = view;
        if (!reachable(view) || (i > 0 && view == asked[0]) || (i > 1 && view == asked[1]))
            continue;
        SharedPointer<CView> hold(view);
        if ((down ? view->onKeyDown(keyCode) : view->onKeyUp(keyCode)) == kKeyHandled)
            return true;
    }
    return false;
}

} // namespace VSTGUI
