#pragma once

#include "gui/CColor.h"
#include "gui/CView.h"

#include <vector>

namespace VSTGUI {

// A view that holds child views, draws them over its background and routes
// the mouse to them. Children's sizes are in the container's coordinates.
class CViewContainer : public CView
{
public:
    explicit CViewContainer(const CRect& size);
    CViewContainer(const CViewContainer& other);
    ~CViewContainer() override;

    // Takes over the caller's reference to view.
    virtual bool addView(CView* view);
    // withForget releases the container's reference.
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    // deep: also within child containers.
    bool isChild(const CView* view, bool deep = false) const;
    int32 getNbViews() const { return static_cast<int32>(children.size()); }
    CView* getView(int32 index) const;

    void setBackgroundColor(const CColor& color);
    const CColor& getBackgroundColor() const { return backgroundColor; }

    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& updateRect);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
    // Offers the key to the attached controller when it is an IKeyboardHook.
    int32 onKeyDown(VstKeyCode& keyCode) override;

    // The innermost visible, mouse-enabled view under where (the container's
    // own coordinates, those of its children), or null.
    CView* getViewAt(const CPoint& where) const;

    bool attached(CView* parent) override;
    bool removed(CView* parent) override;
    void invalidRect(const CRect& rect) override;

    CPoint& localToFrame(CPoint& point) const override;
    CPoint& frameToLocal(CPoint& point) const override;

    CLASS_METHODS(CViewContainer, CView)

protected:
    // The topmost visible, mouse-enabled child under where (container coordinates).
    CView* childAt(const CPoint& where) const;

    std::vector<CView*> children;
    CColor backgroundColor = kBlackCColor;
    CView* mouseDownView = nullptr;
};

} // namespace VSTGUI
