#include "gui/creators/StandardCreators.h"

#include "gui/ViewFactory.h"

#include <memory>

namespace VSTGUI {

std::unique_ptr<IViewCreator> makeCViewCreator();
std::unique_ptr<IViewCreator> makeCViewContainerCreator();
std::unique_ptr<IViewCreator> makeCControlCreator();
std::unique_ptr<IViewCreator> makeCKnobCreator();
std::unique_ptr<IViewCreator> makeCAnimKnobCreator();
std::unique_ptr<IViewCreator> makeCOnOffButtonCreator();
std::unique_ptr<IViewCreator> makeCParamDisplayCreator();
std::unique_ptr<IViewCreator> makeCTextLabelCreator();
std::unique_ptr<IViewCreator> makeCOptionMenuCreator();
std::unique_ptr<IViewCreator> makeCTextButtonCreator();

void registerStandardViewCreators(ViewFactory& factory)
{
    factory.registerViewCreator(makeCViewCreator());
    factory.registerViewCreator(makeCViewContainerCreator());
    factory.registerViewCreator(makeCControlCreator());
    factory.registerViewCreator(makeCKnobCreator());
    factory.registerViewCreator(makeCAnimKnobCreator());
    factory.registerViewCreator(makeCOnOffButtonCreator());
    factory.registerViewCreator(makeCParamDisplayCreator());
    factory.registerViewCreator(makeCTextLabelCreator());
    factory.registerViewCreator(makeCOptionMenuCreator());
    factory.registerViewCreator(makeCTextButtonCreator());
}

} // namespace VSTGUI
