#pragma once

#include "gui/CColor.h"
#include "gui/CControl.h"

namespace VSTGUI {

// A rotary control turned by dragging up and down. Drawn here as a corona arc
// and a handle line; CAnimKnob draws bitmap frames instead.
class CKnob : public CControl
{
public:
    enum DrawStyle : int32
    {
        kLegacyHandleLineDrawing = 0,
        kHandleCircleDrawing = 1 << 0,
        kCoronaDrawing = 1 << 1,
        kCoronaFromCenter = 1 << 2,
        kCoronaInverted = 1 << 3,
        kCoronaLineDashDot = 1 << 4,
        kCoronaOutline = 1 << 5,
        kSkipHandleDrawing = 1 << 6,
    };

    // Pixels of vertical drag that cover the whole range; Shift multiplies
    // them by the zoom factor for fine adjustment.
    static constexpr CCoord kDragRange = 200;

    CKnob(const CRect& size, IControlListener* listener = nullptr, int32 tag = 0, CBitmap* background = nullptr);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
    // Up and Right raise, Down and Left lower the value by one key step, as one edit.
    int32 onKeyDown(VstKeyCode& keyCode) override;
    int32 onKeyUp(VstKeyCode& keyCode) override;

    // Key steps: one step of a stepped range; of a continuous one (steps 0) a
    // hundredth, with Shift a thousandth.
    static constexpr float kKeyStep = 0.01f;
    static constexpr float kFineKeyStep = 0.001f;
    void setStepCount(int32 steps) { stepCount = steps; }
    int32 getStepCount() const { return stepCount; }

    // Angles in radians, clockwise on screen from 3 o'clock.
    void setStartAngle(float a) { startAngle = a; }
    float getStartAngle() const { return startAngle; }
    void setRangeAngle(float a) { rangeAngle = a; }
    float getRangeAngle() const { return rangeAngle; }
    void setInsetValue(CCoord v) { insetValue = v; }
    CCoord getInsetValue() const { return insetValue; }
    void setCoronaInset(CCoord v) { coronaInset = v; }
    CCoord getCoronaInset() const { return coronaInset; }
    void setCoronaColor(const CColor& c) { coronaColor = c; }
    CColor getCoronaColor() const { return coronaColor; }
    void setColorShadowHandle(const CColor& c) { colorShadowHandle = c; }
    CColor getColorShadowHandle() const { return colorShadowHandle; }
    void setColorHandle(const CColor& c) { colorHandle = c; }
    CColor getColorHandle() const { return colorHandle; }
    void setHandleLineWidth(CCoord w) { handleLineWidth = w; }
    CCoord getHandleLineWidth() const { return handleLineWidth; }
    void setDrawStyle(int32 s) { drawStyle = s; }
    int32 getDrawStyle() const { return drawStyle; }
    void setZoomFactor(float f) { zoomFactor = f; }
    float getZoomFactor() const { return zoomFactor; }

    CLASS_METHODS(CKnob, CControl)

protected:
    float valueToAngle(float normalized) const { return startAngle + normalized * rangeAngle; }

    float startAngle;
    float rangeAngle;
    CCoord insetValue = 3;
    CCoord coronaInset = 0;
    CColor coronaColor = kWhiteCColor;
    CColor colorShadowHandle = kGreyCColor;
    CColor colorHandle = kWhiteCColor;
    CCoord handleLineWidth = 1;
    int32 drawStyle = kLegacyHandleLineDrawing;
    float zoomFactor = 1.5f;
    int32 stepCount = 0;

private:
    void startDrag(const CPoint& where, const CButtonState& buttons);
    // Moves the value by step (of the normalised range) as one edit, if it moves.
    void moveBy(float step);

    CPoint dragStart;
    float dragStartValue = 0.f;
    float dragCoefficient = 0.f; // value per pixel
    int32 dragModifiers = 0;
};

} // namespace VSTGUI
