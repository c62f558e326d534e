#pragma once

#include "gui/IViewCreator.h"

#include <map>
#include <memory>
#include <string>

namespace VSTGUI {

// Creators by class name. Views are made by the creator the "class" attribute
// names; attributes are applied by it and then by each base creator in turn.
class ViewFactory
{
public:
    void registerViewCreator(std::unique_ptr<IViewCreator> creator);
    const IViewCreator* getCreator(const std::string& className) const;

    CView* createView(const UIAttributes& attributes, const IUIDescription* description) const;
    // Applies attributes through the creator chain of className.
    bool applyAttributes(CView* view, const std::string& className, const UIAttributes& attributes,
                         const IUIDescription* description) const;

    // A factory holding the library's standard creators.
    static const ViewFactory& standard();

private:
    std::map<std::string, std::unique_ptr<IViewCreator>> creators;
};

} // namespace VSTGUI
