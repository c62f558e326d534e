// The controller's editor hooks for a build without a user interface: no
// view is offered, so no scope view is ever made or fed.

#include "controller/KVController.h"

namespace Steinberg {
namespace Vst {

IPlugView* PLUGIN_API KVController::createView(FIDString /*name*/)
{
    return nullptr;
}

VSTGUI::CView* KVController::createCustomView(VSTGUI::UTF8StringPtr /*name*/,
                                              const VSTGUI::UIAttributes& /*attributes*/,
                                              const VSTGUI::IUIDescription* /*description*/,
                                              VSTGUI::VST3Editor* /*editor*/)
{
    return nullptr;
}

VSTGUI::IController* KVController::createSubController(VSTGUI::UTF8StringPtr /*name*/,
                                                       const VSTGUI::IUIDescription* /*description*/,
                                                       VSTGUI::VST3Editor* /*editor*/)
{
    return nullptr;
}

void KVController::didOpen(VSTGUI::VST3Editor* /*editor*/) {}

void KVController::willClose(VSTGUI::VST3Editor* /*editor*/) {}

void KVController::deliverScopeBlock(const uint8* /*block*/) {}

} // namespace Vst
} // namespace Steinberg
