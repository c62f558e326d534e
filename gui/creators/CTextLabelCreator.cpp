#include "gui/controls/CTextLabel.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

namespace {

// title.
void applyCTextLabel(CTextLabel& label, const UIAttributes& attributes, const IUIDescription*)
{
    if (const std::string* title = attributes.getAttributeValue("title"))
        label.setText(title->c_str());
}

} // namespace

std::unique_ptr<IViewCreator> makeCTextLabelCreator()
{
    return std::make_unique<ViewCreator<CTextLabel>>("CTextLabel", "CParamDisplay", applyCTextLabel);
}

} // namespace VSTGUI
