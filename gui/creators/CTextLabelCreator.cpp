#include "gui/IViewCreator.h"
#include "gui/controls/CTextLabel.h"
#include "gui/creators/CreatorHelpers.h"

#include <memory>

namespace VSTGUI {

namespace {

// title.
class CTextLabelCreator : public IViewCreator
{
public:
    IdStringPtr getViewName() const override { return "CTextLabel"; }
    IdStringPtr getBaseViewName() const override { return "CParamDisplay"; }
    CView* create(const UIAttributes&, const IUIDescription*) const override { return new CTextLabel(CRect()); }
    bool apply(CView* view, const UIAttributes& attributes, const IUIDescription*) const override
    {
        auto* label = dynamic_cast<CTextLabel*>(view);
        if (!label)
            return false;
        if (const std::string* title = attributes.getAttributeValue("title"))
            label->setText(title->c_str());
        return true;
    }
};

} // namespace

std::unique_ptr<IViewCreator> makeCTextLabelCreator()
{
    return std::make_unique<CTextLabelCreator>();
}

} // namespace VSTGUI
