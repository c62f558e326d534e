#pragma once

#include "gui/IControlListener.h"

namespace VSTGUI {

class CView;
class IUIDescription;
class UIAttributes;

// What a description asks of the code it builds views for: tags, listeners,
// custom views and sub-controllers.
class IController : public IControlListener
{
public:
    virtual int32 getTagForName(UTF8StringPtr /*name*/, int32 registeredTag) const { return registeredTag; }
    virtual IControlListener* getControlListener(UTF8StringPtr /*controlTagName*/) { return this; }
    // A view of the controller's own making, or null for the description's class.
    virtual CView* createView(const UIAttributes& /*attributes*/, const IUIDescription* /*description*/)
    {
        return nullptr;
    }
    // Sees every view after its attributes are applied; may replace it.
    virtual CView* verifyView(CView* view, const UIAttributes& /*attributes*/, const IUIDescription* /*description*/)
    {
        return view;
    }
    virtual IController* createSubController(UTF8StringPtr /*name*/, const IUIDescription* /*description*/)
    {
        return nullptr;
    }
};

} // namespace VSTGUI
