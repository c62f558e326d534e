#pragma once

#include "gui/CColor.h"
#include "gui/CFontDesc.h"

namespace VSTGUI {

class CBitmap;
class IController;
class IControlListener;
class UIAttributes;

// What view creators may ask of a description while they apply attributes.
class IUIDescription
{
public:
    virtual ~IUIDescription() = default;

    // Null for unknown names or files that do not load.
    virtual CBitmap* getBitmap(UTF8StringPtr name) const = 0;
    // Description fonts, then the library's own ("~ SystemFont"); null if neither.
    virtual CFontRef getFont(UTF8StringPtr name) const = 0;
    // Description colours, the library's own ("~ BlackCColor") and "#rrggbbaa".
    virtual bool getColor(UTF8StringPtr name, CColor& color) const = 0;
    // The control tag for a name (the controller may change it); -1 if unknown.
    virtual int32 getTagForName(UTF8StringPtr name) const = 0;
    virtual IControlListener* getControlListener(UTF8StringPtr name) const = 0;
    // The controller views are being created for (sub-controllers included).
    virtual IController* getController() const = 0;
    // The description's <custom><attributes name="..."> entry, or null.
    virtual const UIAttributes* getCustomAttributes(UTF8StringPtr name) const = 0;
};

} // namespace VSTGUI
