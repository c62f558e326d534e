#pragma once

#include "gui/CView.h"
#include "gui/IControlListener.h"

namespace VSTGUI {

// A view with a value between min and max, a tag and a listener that hears
// the user's edits.
class CControl : public CView
{
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, int32 tag = 0, CBitmap* background = nullptr);
    CControl(const CControl& other);

    virtual void setValue(float val);
    virtual float getValue() const { return value; }
    virtual void setValueNormalized(float val);
    virtual float getValueNormalized() const;
    virtual void setMin(float val) { vmin = val; }
    virtual float getMin() const { return vmin; }
    virtual void setMax(float val) { vmax = val; }
    virtual float getMax() const { return vmax; }
    float getRange() const { return vmax - vmin; }
    virtual void setDefaultValue(float val) { defaultValue = val; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setWheelInc(float val) { wheelInc = val; }
    virtual float getWheelInc() const { return wheelInc; }
    // Keeps the value within min and max.
    virtual void bounceValue();

    virtual void setTag(int32 val);
    int32 getTag() const { return tag; }
    virtual void setListener(IControlListener* l) { listener = l; }
    IControlListener* getListener() const { return listener; }

    // An edit gesture: begin, any number of value changes, end.
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editing > 0; }
    virtual void valueChanged();

    // Ctrl-click with the left button resets to the default value; true when it did.
    virtual bool checkDefaultValue(const CButtonState& buttons);

    bool isTypeOf(IdStringPtr s) const override { return std::strcmp(s, "CControl") == 0 || CView::isTypeOf(s); }

protected:
    IControlListener* listener;
    int32 tag;
    float value = 0.f;
    float vmin = 0.f;
    float vmax = 1.f;
    float defaultValue = 0.5f;
    float wheelInc = 0.1f;
    int32 editing = 0;
};

} // namespace VSTGUI
