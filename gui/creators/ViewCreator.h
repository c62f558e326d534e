#pragma once

#include "gui/CRect.h"
#include "gui/IViewCreator.h"

namespace VSTGUI {

// The creator of class View: makes a default View and applies the attributes
// View adds to its base class's through applyOwn (null: it adds none).
template <class View>
class ViewCreator final : public IViewCreator
{
public:
    using ApplyOwn = void (*)(View& view, const UIAttributes& attributes, const IUIDescription* description);

    // canCreate false: a class that only serves as a base (custom views use it).
    ViewCreator(IdStringPtr name, IdStringPtr baseName, ApplyOwn applyOwn, bool canCreate = true)
        : name(name), baseName(baseName), applyOwn(applyOwn), canCreate(canCreate)
    {
    }

    IdStringPtr getViewName() const override { return name; }
    IdStringPtr getBaseViewName() const override { return baseName; }
    CView* create(const UIAttributes&, const IUIDescription*) const override
    {
        return canCreate ? new View(CRect()) : nullptr;
    }
    bool apply(CView* view, const UIAttributes& attributes, const IUIDescription* description) const override
    {
        auto* typed = dynamic_cast<View*>(view);
        if (!typed)
            return false;
        if (applyOwn)
            applyOwn(*typed, attributes, description);
        return true;
    }

private:
    IdStringPtr name;
    IdStringPtr baseName;
    ApplyOwn applyOwn;
    bool canCreate;
};

} // namespace VSTGUI
