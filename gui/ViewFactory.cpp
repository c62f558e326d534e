#include "gui/ViewFactory.h"

#include "gui/CView.h"
#include "gui/UIAttributes.h"
#include "gui/creators/StandardCreators.h"

namespace VSTGUI {

void ViewFactory::registerViewCreator(std::unique_ptr<IViewCreator> creator)
{
    if (creator)
        creators[creator->getViewName()] = std::move(creator);
}

const IViewCreator* ViewFactory::getCreator(const std::string& className) const
{
    auto it = creators.find(className);
    return it == creators.end() ? nullptr : it->second.get();
}

CView* ViewFactory::createView(const UIAttributes& attributes, const IUIDescription* description) const
{
    const std::string* className = attributes.getAttributeValue("class");
    const IViewCreator* creator = className ? getCreator(*className) : nullptr;
    if (!creator)
        return nullptr;
    CView* view = creator->create(attributes, description);
    if (view)
        applyAttributes(view, *className, attributes, description);
    return view;
}

bool ViewFactory::applyAttributes(CView* view, const std::string& className, const UIAttributes& attributes,
                                  const IUIDescription* description) const
{
    if (!view)
        return false;
    bool applied = false;
    // The chain is short and acyclic by construction; the bound guards a bad registry.
    const IViewCreator* creator = getCreator(className);
    for (int depth = 0; creator && depth < 32; ++depth)
    {
        applied = creator->apply(view, attributes, description) || applied;
        IdStringPtr base = creator->getBaseViewName();
        creator = base ? getCreator(base) : nullptr;
    }
    return applied;
}

const ViewFactory& ViewFactory::standard()
{
    static const ViewFactory factory = []
    {
        ViewFactory f;
        registerStandardViewCreators(f);
        return f;
    }();
    return factory;
}

} // namespace VSTGUI
