#pragma once

#include "gui/CBaseObject.h"
#include "gui/CButtonState.h"
#include "gui/CRect.h"
#include "gui/VstKeyCode.h"

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class IController;

// A rectangle of the editor that draws itself and may take the mouse. Its
// size is in the coordinates of its parent container.
class CView : public CBaseObject
{
public:
    explicit CView(const CRect& size);
    CView(const CView& other);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    // updateRect is in the parent's coordinates, like the view's size.
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    virtual bool checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }

    // where is in the parent's coordinates.
    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
    // distance: wheel steps, positive away from the user.
    virtual bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons);

    // kKeyHandled, or kKeyNotHandled to let the frame offer the key elsewhere.
    virtual int32 onKeyDown(VstKeyCode& keyCode);
    virtual int32 onKeyUp(VstKeyCode& keyCode);
    // A view that wants the focus gets it from a click; the frame sends it keys first.
    void setWantsFocus(bool state) { wantsFocusFlag = state; }
    bool wantsFocus() const { return wantsFocusFlag; }
    virtual void takeFocus() {}
    virtual void looseFocus() {}

    virtual bool attached(CView* parent);
    virtual bool removed(CView* parent);
    bool isAttached() const { return attachedFlag; }
    CView* getParentView() const { return parentView; }
    CFrame* getFrame() const { return parentFrame; }

    virtual void setViewSize(const CRect& rect, bool invalid = true);
    const CRect& getViewSize() const { return size; }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    const CRect& getMouseableArea() const { return mouseableArea; }
    CCoord getWidth() const { return size.getWidth(); }
    CCoord getHeight() const { return size.getHeight(); }

    virtual void invalid() { invalidRect(size); }
    // rect in the parent's coordinates.
    virtual void invalidRect(const CRect& rect);
    virtual void setDirty(bool state = true);
    bool isDirty() const { return dirty; }

    virtual void setAlphaValue(float alpha);
    float getAlphaValue() const { return alphaValue; }
    virtual void setVisible(bool state);
    bool isVisible() const { return visible; }
    virtual void setMouseEnabled(bool state) { mouseEnabled = state; }
    bool getMouseEnabled() const { return mouseEnabled; }
    virtual void setTransparency(bool state);
    bool getTransparency() const { return transparent; }
    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background; }

    // Frame coordinates from this view's (that is its parent's) coordinates and back.
    virtual CPoint& localToFrame(CPoint& point) const;
    virtual CPoint& frameToLocal(CPoint& point) const;

    // A controller that lives as long as the view (a description's sub-controller).
    void setAttachedController(IController* controller);
    IController* getAttachedController() const { return attachedController; }

    CLASS_METHODS(CView, CBaseObject)

protected:
    void setParentFrame(CFrame* frame) { parentFrame = frame; }

    CRect size;
    CRect mouseableArea;

private:
    CView* parentView = nullptr;
    CFrame* parentFrame = nullptr;
    CBitmap* background = nullptr;
    IController* attachedController = nullptr;
    float alphaValue = 1.f;
    bool attachedFlag = false;
    bool visible = true;
    bool mouseEnabled = true;
    bool transparent = false;
    bool dirty = false;
    bool wantsFocusFlag = false;

    friend class CViewContainer;
    friend class CFrame;
};

} // namespace VSTGUI
