#include "gui/CControl.h"

#include <algorithm>

namespace VSTGUI {

CControl::CControl(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag)
{
    if (background)
        setBackground(background);
}

CControl::CControl(const CControl& other)
    : CView(other), listener(other.listener), tag(other.tag), value(other.value), vmin(other.vmin), vmax(other.vmax),
      defaultValue(other.defaultValue), wheelInc(other.wheelInc)
{
}

void CControl::setValue(float val)
{
    if (val == value)
        return;
    value = val;
    invalid();
}

void CControl::setValueNormalized(float val)
{
    val = std::clamp(val, 0.f, 1.f);
    setValue(vmin + val * getRange());
}

float CControl::getValueNormalized() const
{
    if (getRange() == 0.f)
        return 0.f;
    return std::clamp((value - vmin) / getRange(), 0.f, 1.f);
}

void CControl::bounceValue()
{
    value = std::clamp(value, std::min(vmin, vmax), std::max(vmin, vmax));
}

void CControl::setTag(int32 val)
{
    if (listener)
        listener->controlTagWillChange(this);
    tag = val;
    if (listener)
        listener->controlTagDidChange(this);
}

void CControl::beginEdit()
{
    if (editing++ == 0 && listener)
        listener->controlBeginEdit(this);
}

void CControl::endEdit()
{
    if (editing == 0)
        return;
    if (--editing == 0 && listener)
        listener->controlEndEdit(this);
}

void CControl::valueChanged()
{
    if (listener)
        listener->valueChanged(this);
}

bool CControl::checkDefaultValue(const CButtonState& buttons)
{
    if (!buttons.isLeftButton() || buttons.getModifierState() != kControl)
        return false;
    if (getDefaultValue() != getValue())
    {
        beginEdit();
        setValue(getDefaultValue());
        valueChanged();
        endEdit();
    }
    return true;
}

} // namespace VSTGUI
