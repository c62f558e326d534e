// The controller's side of the editor: creating it from the description in
// the module's resources, and the delegate hooks that make the custom views
// and follow the editor's opening and closing.

#include "controller/KVController.h"
#include "editor/AboutBox.h"
#include "editor/CorrelationMeter.h"
#include "editor/EditorResources.h"
#include "editor/ScopeView.h"
#include "gui/VST3Editor.h"

#include <mutex>

#include <cstring>
#include <string>

namespace Steinberg {
namespace Vst {

namespace {

constexpr const char* kEditorTemplate = "view";
constexpr const char* kEditorDescription = "myEditor.uidesc";
constexpr const char* kScopeViewName = "ScopeView";
constexpr const char* kCorrelationMeterName = "CorrelationMeter";

} // namespace

IPlugView* PLUGIN_API KVController::createView(FIDString name)
{
    if (!name || std::strcmp(name, ViewType::kEditor) != 0)
        return nullptr;
    auto resources = editorResources();
    if (!resources)
        return nullptr;
    auto* editor = new VSTGUI::VST3Editor(this, kEditorTemplate, kEditorDescription, resources);
    editor->setZoom(editorZoom);
    return editor;
}

VSTGUI::CView* KVController::createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes& /*attributes*/,
                                              const VSTGUI::IUIDescription* /*description*/,
                                              VSTGUI::VST3Editor* /*editor*/)
{
    if (name && std::strcmp(name, kScopeViewName) == 0)
    {
        std::lock_guard<std::mutex> lock(scopeMutex);
        // the description gives it its size; draw takes new blocks under scopeMutex
        scopeView = new ScopeView(VSTGUI::CRect(), &scopeMutex);
        return scopeView;
    }
    if (name && std::strcmp(name, kCorrelationMeterName) == 0)
    {
        std::lock_guard<std::mutex> lock(scopeMutex);
        correlationMeter = new CorrelationMeter(VSTGUI::CRect(), &scopeMutex);
        return correlationMeter;
    }
    return AboutBox::createLabel(name, getHostContext());
}

VSTGUI::IController* KVController::createSubController(VSTGUI::UTF8StringPtr name,
                                                       const VSTGUI::IUIDescription* description,
                                                       VSTGUI::VST3Editor* editor)
{
    if (!name || !editor || std::strcmp(name, AboutBox::kSubControllerName) != 0)
        return nullptr;
    auto* uiDescription = dynamic_cast<VSTGUI::UIDescription*>(const_cast<VSTGUI::IUIDescription*>(description));
    return new VSTGUI::ModalViewController(editor, uiDescription);
}

void KVController::didOpen(VSTGUI::VST3Editor* /*editor*/)
{
    std::lock_guard<std::mutex> lock(scopeMutex);
    editorOpen = true;
}

void KVController::willClose(VSTGUI::VST3Editor* editor)
{
    if (editor)
        editorZoom = editor->getZoom();
    std::lock_guard<std::mutex> lock(scopeMutex);
    // The scope view and the meter die with this editor's views: forget them
    // so no block is ever copied into freed memory. Those of another, still
    // open editor of this controller stay.
    VSTGUI::CFrame* frame = editor ? editor->getFrame() : nullptr;
    auto another = [frame](VSTGUI::CView* view)
    {
        return view && frame && !frame->isChild(view, true);
    };
    if (another(scopeView) || another(correlationMeter))
        return;
    scopeView = nullptr;
    correlationMeter = nullptr;
    editorOpen = false;
}

void KVController::deliverScopeBlock(const uint8* block)
{
    if (scopeView)
        scopeView->setScopeData(block);
    if (correlationMeter)
        correlationMeter->addBlock(block);
}

} // namespace Vst
} // namespace Steinberg
