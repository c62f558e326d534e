#include "gui/CViewContainer.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/IController.h"

#include <algorithm>

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect& size) : CView(size) {}

CViewContainer::CViewContainer(const CViewContainer& other) : CView(other), backgroundColor(other.backgroundColor)
{
    for (CView* child : other.children)
    {
        if (auto* copy = dynamic_cast<CView*>(child->newCopy()))
            children.push_back(copy);
    }
}

CViewContainer::~CViewContainer()
{
    removeAll();
}

bool CViewContainer::addView(CView* view)
{
    if (!view || isChild(view))
        return false;
    children.push_back(view);
    if (isAttached())
        view->attached(this);
    return true;
}

bool CViewContainer::removeView(CView* view, bool withForget)
{
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end())
        return false;
    children.erase(it);
    if (mouseDownView == view)
        mouseDownView = nullptr;
    view->invalid();
    if (view->isAttached())
        view->removed(this);
    if (withForget)
        view->forget();
    return true;
}

bool CViewContainer::removeAll(bool withForget)
{
    mouseDownView = nullptr;
    while (!children.empty())
    {
        CView* view = children.back();
        children.pop_back();
        if (view->isAttached())
            view->removed(this);
        if (withForget)
            view->forget();
    }
    return true;
}

bool CViewContainer::isChild(const CView* view, bool deep) const
{
    for (CView* child : children)
    {
        if (child == view)
            return true;
        if (deep)
        {
            if (auto* container = dynamic_cast<CViewContainer*>(child); container && container->isChild(view, true))
                return true;
        }
    }
    return false;
}

CView* CViewContainer::getView(int32 index) const
{
    if (index < 0 || index >= getNbViews())
        return nullptr;
    return children[static_cast<size_t>(index)];
}

void CViewContainer::setBackgroundColor(const CColor& color)
{
    backgroundColor = color;
    invalid();
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& updateRect)
{
    const CRect local(0, 0, getWidth(), getHeight());
    if (getBackground())
    {
        context->drawBitmap(getBackground(), local);
    }
    else if (!getTransparency())
    {
        context->setFillColor(backgroundColor);
        CRect fill = updateRect;
        fill.bound(local);
        context->drawRect(fill, kDrawFilled);
    }
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect)
{
    context->saveGlobalState();
    CRect clip = updateRect;
    clip.bound(size);
    context->setClipRect(clip);
    context->offsetOrigin(size.getTopLeft());
    CRect localUpdate = clip;
    localUpdate.offset(-size.left, -size.top);

    drawBackgroundRect(context, localUpdate);
    for (CView* child : children)
    {
        if (!child->isVisible() || !child->checkUpdate(localUpdate))
            continue;
        CRect childClip = localUpdate;
        childClip.bound(child->getViewSize());
        if (childClip.isEmpty())
            continue;
        context->saveGlobalState();
        context->setClipRect(childClip);
        context->setGlobalAlpha(context->getGlobalAlpha() * child->getAlphaValue());
        child->drawRect(context, childClip);
        context->restoreGlobalState();
    }
    context->restoreGlobalState();
    setDirty(false);
}

CView* CViewContainer::childAt(const CPoint& where) const
{
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (child->isVisible() && child->getMouseEnabled() && child->getMouseableArea().pointInside(where))
            return child;
    }
    return nullptr;
}

CView* CViewContainer::getViewAt(const CPoint& where) const
{
    CView* child = childAt(where);
    if (auto* container = dynamic_cast<CViewContainer*>(child))
    {
        const CPoint inner(where.x - container->size.left, where.y - container->size.top);
        if (CView* deeper = container->getViewAt(inner))
            return deeper;
    }
    return child;
}

int32 CViewContainer::onKeyDown(VstKeyCode& keyCode)
{
    if (auto* hook = dynamic_cast<IKeyboardHook*>(getAttachedController()))
        return hook->onKeyDown(keyCode, getFrame());
    return kKeyNotHandled;
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    const CPoint local(where.x - size.left, where.y - size.top);
    mouseDownView = nullptr;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (!child->isVisible() || !child->getMouseEnabled() || !child->getMouseableArea().pointInside(local))
            continue;
        CPoint p = local;
        child->remember();
        const CMouseEventResult result = child->onMouseDown(p, buttons);
        const bool stillChild = isChild(child);
        child->forget();
        if (result != kMouseEventNotHandled && result != kMouseEventNotImplemented)
        {
            if (result == kMouseEventHandled && stillChild)
                mouseDownView = child;
            return result;
        }
        // Only a transparent view lets the click through to what lies beneath.
        if (!child->getTransparency())
            return result;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    CView* view = std::exchange(mouseDownView, nullptr);
    if (!view)
        return kMouseEventNotHandled;
    CPoint local(where.x - size.left, where.y - size.top);
    view->remember();
    view->onMouseUp(local, buttons);
    view->forget();
    return kMouseEventHandled;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!mouseDownView)
        return kMouseEventNotHandled;
    CPoint local(where.x - size.left, where.y - size.top);
    CView* view = mouseDownView;
    view->remember();
    const CMouseEventResult result = view->onMouseMoved(local, buttons);
    view->forget();
    if (result == kMouseMoveEventHandledButDontNeedMoreEvents || result == kMouseEventNotHandled)
        mouseDownView = nullptr;
    return kMouseEventHandled;
}

bool CViewContainer::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons)
{
    const CPoint local(where.x - size.left, where.y - size.top);
    CView* child = childAt(local);
    return child && child->onWheel(local, distance, buttons);
}

bool CViewContainer::attached(CView* parent)
{
    if (!CView::attached(parent))
        return false;
    for (CView* child : children)
        child->attached(this);
    return true;
}

bool CViewContainer::removed(CView* parent)
{
    if (!isAttached())
        return false;
    mouseDownView = nullptr;
    for (CView* child : children)
        child->removed(this);
    return CView::removed(parent);
}

void CViewContainer::invalidRect(const CRect& rect)
{
    CRect r = rect;
    r.offset(size.left, size.top);
    r.bound(size);
    if (!r.isEmpty())
        CView::invalidRect(r);
}

CPoint& CViewContainer::localToFrame(CPoint& point) const
{
    point.offset(size.left, size.top);
    return CView::localToFrame(point);
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const
{
    point.offset(-size.left, -size.top);
    return CView::frameToLocal(point);
}

} // namespace VSTGUI
