#pragma once

#include "gui/IController.h"

namespace VSTGUI {

// A controller that forwards everything to its parent; subclasses override
// what they handle themselves. Controls below it report to it.
class DelegationController : public IController
{
public:
    explicit DelegationController(IController* controller) : controller(controller) {}

    void valueChanged(CControl* control) override { controller->valueChanged(control); }
    int32 controlModifierClicked(CControl* control, CButtonState buttons) override
    {
        return controller->controlModifierClicked(control, buttons);
    }
    void controlBeginEdit(CControl* control) override { controller->controlBeginEdit(control); }
    void controlEndEdit(CControl* control) override { controller->controlEndEdit(control); }
    void controlTagWillChange(CControl* control) override { controller->controlTagWillChange(control); }
    void controlTagDidChange(CControl* control) override { controller->controlTagDidChange(control); }

    int32 getTagForName(UTF8StringPtr name, int32 registeredTag) const override
    {
        return controller->getTagForName(name, registeredTag);
    }
    IControlListener* getControlListener(UTF8StringPtr /*controlTagName*/) override { return this; }
    CView* createView(const UIAttributes& attributes, const IUIDescription* description) override
    {
        return controller->createView(attributes, description);
    }
    CView* verifyView(CView* view, const UIAttributes& attributes, const IUIDescription* description) override
    {
        return controller->verifyView(view, attributes, description);
    }
    IController* createSubController(UTF8StringPtr name, const IUIDescription* description) override
    {
        return controller->createSubController(name, description);
    }

protected:
    IController* controller;
};

} // namespace VSTGUI
