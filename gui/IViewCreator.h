#pragma once

#include "gui/CBaseObject.h"

namespace VSTGUI {

class CView;
class IUIDescription;
class UIAttributes;

// Makes views of one class and applies that class's own attributes; the
// attributes of its base classes are applied by their creators.
class IViewCreator
{
public:
    virtual ~IViewCreator() = default;

    virtual IdStringPtr getViewName() const = 0;
    // The creator of the base class, or null at the root.
    virtual IdStringPtr getBaseViewName() const = 0;
    // A default view of the class; null for classes that cannot be made alone.
    virtual CView* create(const UIAttributes& attributes, const IUIDescription* description) const = 0;
    // False when view is not of this creator's class.
    virtual bool apply(CView* view, const UIAttributes& attributes, const IUIDescription* description) const = 0;
};

} // namespace VSTGUI
