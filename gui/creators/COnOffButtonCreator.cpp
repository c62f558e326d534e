#include "gui/controls/COnOffButton.h"
#include "gui/creators/ViewCreator.h"

#include <memory>

namespace VSTGUI {

// No attributes of its own.
std::unique_ptr<IViewCreator> makeCOnOffButtonCreator()
{
    return std::make_unique<ViewCreator<COnOffButton>>("COnOffButton", "CControl", nullptr);
}

} // namespace VSTGUI
