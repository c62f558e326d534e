#pragma once

#include "gui/Animator.h"
#include "gui/CViewContainer.h"
#include "gui/IPlatformFrame.h"

#include <functional>
#include <memory>

namespace VSTGUI {

// The root of a view tree: owns the window (through its platform frame),
// turns window events into view events, holds the modal view and animator.
class CFrame : public CViewContainer
{
public:
    explicit CFrame(const CRect& size);
    ~CFrame() override;
    CFrame(const CFrame&) = delete;
    CFrame& operator=(const CFrame&) = delete;

    // Embeds a window in the host's window parent (see IPlatformFrame::create).
    // False if the window could not be made.
    bool open(void* parent);
    // Uses platform instead of a window of its own (drawing without a display).
    bool open(std::unique_ptr<IPlatformFrame> platform);
    // Cancels animations, removes every view and destroys the window.
    void close();
    bool isOpen() const { return static_cast<bool>(platformFrame); }
    IPlatformFrame* getPlatformFrame() const { return platformFrame.get(); }

    // While a modal view is set it alone receives the mouse. It is added as
    // the topmost child; the frame keeps a reference until it is cleared.
    bool setModalView(CView* view);
    CView* getModalView() const { return modalView; }

    Animation::Animator* getAnimator();

    // Keys go first to the focus view; a click gives the focus to the view
    // under it when that view wants it, else takes it away.
    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView; }
    // The view under the mouse, which gets the keys the focus view leaves.
    CView* getMouseOverView() const { return mouseOverView; }
    // Forgets a view that leaves the tree (CView::removed calls it).
    void onViewRemoved(CView* view);
    // Device pixels per unit: views keep their sizes in units while the
    // window and its drawing scale by this.
    void setScaleFactor(double scaleFactor);
    double getScaleFactor() const { return scaleFactor; }
    // Told when the window system's preferred scale for the window changes.
    void setSystemScaleHandler(std::function<void(double)> handler) { systemScaleHandler = std::move(handler); }

    void setFocusDrawingEnabled(bool state) { focusDrawing = state; }
    bool focusDrawingEnabled() const { return focusDrawing; }
    void setFocusWidth(CCoord width) { focusWidth = width; }
    CCoord getFocusWidth() const { return focusWidth; }

    void invalidRect(const CRect& rect) override;
    bool removeView(CView* view, bool withForget = true) override;

    // Entry points for the platform frame; points in frame coordinates.
    void platformDrawRect(CDrawContext* context, const CRect& rect);
    CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons);
    CMouseEventResult platformOnMouseMoved(CPoint& where, const CButtonState& buttons);
    CMouseEventResult platformOnMouseUp(CPoint& where, const CButtonState& buttons);
    bool platformOnMouseWheel(const CPoint& where, float distance, const CButtonState& buttons);
    void platformOnMouseExited();
    // Key events of the window system or the host: true when a view took them.
    bool platformOnKeyDown(VstKeyCode& keyCode);
    bool platformOnKeyUp(VstKeyCode& keyCode);
    // Another window took the keyboard the frame's window had: the view that
    // wanted it gives up the focus.
    void platformOnKeyboardFocusLost();
    void platformOnSystemScaleChanged(double scale);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;

    CLASS_METHODS_NOCOPY(CFrame, CViewContainer)

private:
    void attachChildren();
    // The view under where (frame coordinates) that may get the mouse now.
    CView* viewAt(const CPoint& where) const;
    bool reachable(const CView* view) const;
    bool dispatchKey(VstKeyCode& keyCode, bool down);

    std::unique_ptr<IPlatformFrame> platformFrame;
    SharedPointer<Animation::Animator> animator;
    CView* modalView = nullptr;
    CView* focusView = nullptr;
    CView* mouseOverView = nullptr;
    bool focusDrawing = false;
    CCoord focusWidth = 1;
    double scaleFactor = 1.;
    std::function<void(double)> systemScaleHandler;
};

} // namespace VSTGUI
