#include "gui/controls/CKnob.h"

#include "gui/CDrawContext.h"

#include <cmath>

namespace VSTGUI {

namespace {

constexpr double kPi = 3.14159265358979323846; // M_PI, which strict ISO modes on some platforms lack
constexpr double kRadToDeg = 180. / kPi;

// +1 or -1 for the arrow keys a knob takes, 0 for others; other modifiers than
// Shift leave the key to the host.
int keyDirection(const VstKeyCode& keyCode)
{
    if (keyCode.modifier & ~MODIFIER_SHIFT)
        return 0;
    switch (keyCode.virt)
    {
    case VKEY_UP:
    case VKEY_RIGHT: return 1;
    case VKEY_DOWN:
    case VKEY_LEFT: return -1;
    default: return 0;
    }
}

} // namespace

CKnob::CKnob(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background)
    : CControl(size, listener, tag, background), startAngle(static_cast<float>(3. * kPi / 4.)),
      rangeAngle(static_cast<float>(3. * kPi / 2.))
{
    setWantsFocus(true);
}

void CKnob::draw(CDrawContext* context)
{
    if (getBackground())
        context->drawBitmap(getBackground(), size);
    const float normalized = getValueNormalized();
    const CPoint centre = size.getCenter();
    context->saveGlobalState();
    context->setDrawMode(kAntiAliasing);
    if (drawStyle & kCoronaDrawing)
    {
        CRect corona = size;
        corona.inset(coronaInset, coronaInset);
        float from = (drawStyle & kCoronaFromCenter) ? valueToAngle(0.5f) : startAngle;
        float to = valueToAngle((drawStyle & kCoronaInverted) ? 1.f - normalized : normalized);
        if (to < from)
            std::swap(from, to);
        context->setLineWidth(handleLineWidth + 1);
        context->setLineStyle((drawStyle & kCoronaLineDashDot) ? kLineOnOffDash : kLineSolid);
        context->setFrameColor(coronaColor);
        context->drawArc(corona, from * kRadToDeg, to * kRadToDeg, kDrawStroked);
        if (drawStyle & kCoronaOutline)
        {
            context->setLineWidth(1);
            context->setFrameColor(colorShadowHandle);
            context->drawArc(corona, startAngle * kRadToDeg, (startAngle + rangeAngle) * kRadToDeg, kDrawStroked);
        }
    }
    if (!(drawStyle & kSkipHandleDrawing))
    {
        const CCoord radius = std::min(size.getWidth(), size.getHeight()) / 2. - insetValue;
        const float angle = valueToAngle(normalized);
        const CPoint tip(centre.x + std::cos(angle) * radius, centre.y + std::sin(angle) * radius);
        context->setLineStyle(kLineSolid);
        context->setLineWidth(handleLineWidth);
        if (drawStyle & kHandleCircleDrawing)
        {
            const CCoord r = handleLineWidth + 1.5;
            context->setFillColor(colorHandle);
            context->setFrameColor(colorShadowHandle);
            context->drawEllipse(CRect(tip.x - r, tip.y - r, tip.x + r, tip.y + r), kDrawFilledAndStroked);
        }
        else
        {
            context->setFrameColor(colorShadowHandle);
            context->drawLine(CPoint(centre.x + 1, centre.y + 1), CPoint(tip.x + 1, tip.y + 1));
            context->setFrameColor(colorHandle);
            context->drawLine(centre, tip);
        }
    }
    context->restoreGlobalState();
    setDirty(false);
}

void CKnob::startDrag(const CPoint& where, const CButtonState& buttons)
{
    dragStart = where;
    dragStartValue = value;
    dragModifiers = buttons.getModifierState();
    CCoord range = kDragRange;
    if (buttons & kShift)
        range *= zoomFactor;
    dragCoefficient = static_cast<float>(getRange() / range);
}

CMouseEventResult CKnob::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (checkDefaultValue(buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginEdit();
    startDrag(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!isEditing() || !buttons.isLeftButton())
        return kMouseEventNotHandled;
    // Pressing or releasing Shift mid-drag continues from where the knob is.
    if (buttons.getModifierState() != dragModifiers)
        startDrag(where, buttons);
    const float old = value;
    value = dragStartValue + static_cast<float>(dragStart.y - where.y) * dragCoefficient;
    bounceValue();
    if (value != old)
    {
        invalid();
        valueChanged();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseUp(CPoint&, const CButtonState&)
{
    if (isEditing())
        endEdit();
    return kMouseEventHandled;
}

void CKnob::moveBy(float step)
{
    const float old = value;
    setValueNormalized(getValueNormalized() + step);
    if (value != old)
    {
        beginEdit();
        valueChanged();
        endEdit();
    }
}

bool CKnob::onWheel(const CPoint&, const float& distance, const CButtonState& buttons)
{
    float step = distance * wheelInc;
    if (buttons & kShift)
        step *= 0.1f;
    moveBy(step);
    return true;
}

int32 CKnob::onKeyDown(VstKeyCode& keyCode)
{
    const int direction = keyDirection(keyCode);
    if (direction == 0)
        return kKeyNotHandled;
    float step = (keyCode.modifier & MODIFIER_SHIFT) ? kFineKeyStep : kKeyStep;
    if (stepCount > 0)
        step = 1.f / static_cast<float>(stepCount);
    moveBy(static_cast<float>(direction) * step);
    return kKeyHandled;
}

int32 CKnob::onKeyUp(VstKeyCode& keyCode)
{
    return keyDirection(keyCode) != 0 ? kKeyHandled : kKeyNotHandled;
}

} // namespace VSTGUI
