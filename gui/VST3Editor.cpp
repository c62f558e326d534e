#include "gui/VST3Editor.h"

#include "gui/CVSTGUITimer.h"
#include "gui/IResourceProvider.h"
#include "gui/PlatformEditorSession.h"
#include "gui/ViewFactory.h"

#include <cstring>

namespace VSTGUI {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

ViewRect templateRect(const UIDescription& description, const std::string& name)
{
    CPoint size;
    const UIAttributes* attributes = description.getViewAttributes(name.c_str());
    if (!attributes || !attributes->getPointAttribute("size", size))
        return ViewRect(0, 0, 0, 0);
    return ViewRect(0, 0, static_cast<int32>(size.x), static_cast<int32>(size.y));
}

// A host's key event: virtual key codes and modifiers have the same numbers
// here. Some hosts send Return, Escape and the like as control characters.
VstKeyCode keyCodeOf(char16 key, int16 keyCode, int16 modifiers)
{
    VstKeyCode code;
    code.modifier =
        static_cast<uint8_t>(modifiers & (MODIFIER_SHIFT | MODIFIER_ALTERNATE | MODIFIER_COMMAND | MODIFIER_CONTROL));
    if (keyCode > 0 && keyCode <= 0xff)
    {
        code.virt = static_cast<uint8_t>(keyCode);
        return code;
    }
    switch (key)
    {
    case '\b': code.virt = VKEY_BACK; break;
    case '\t': code.virt = VKEY_TAB; break;
    case '\r':
    case '\n': code.virt = VKEY_RETURN; break;
    case 0x1b: code.virt = VKEY_ESCAPE; break;
    case 0x7f: code.virt = VKEY_DELETE; break;
    default:
        // A lone half of a surrogate pair is no character.
        if (key < 0xd800 || key > 0xdfff)
            code.character = key;
        break;
    }
    return code;
}

} // namespace

VST3Editor::VST3Editor(EditController* controller, UTF8StringPtr templateName, UTF8StringPtr xmlFile,
                       IResourceProvider* resources)
    : EditorView(controller), description(owned(resources ? new UIDescription(xmlFile ? xmlFile : "", resources)
                                                          : new UIDescription(xmlFile ? xmlFile : ""))),
      templateName(templateName ? templateName : ""), delegate(dynamic_cast<VST3EditorDelegate*>(controller))
{
    if (description->parse())
        rect = templateRect(*description, this->templateName);
    // Parameter IDs are looked up once: controls bind by tag.
    if (controller)
    {
        for (int32 i = 0; i < controller->getParameterCount(); ++i)
        {
            ParameterInfo info{};
            if (controller->getParameterInfo(i, info) == kResultOk)
                parameters[info.id] = info;
        }
    }
}

VST3Editor::~VST3Editor()
{
    close();
}

tresult PLUGIN_API VST3Editor::isPlatformTypeSupported(FIDString type)
{
    return type && std::strcmp(type, PlatformEditorSession::windowType()) == 0 ? kResultTrue : kResultFalse;
}

void* VST3Editor::getPlatformWindow() const
{
    return frame && frame->getPlatformFrame() ? frame->getPlatformFrame()->getPlatformHandle() : nullptr;
}

tresult PLUGIN_API VST3Editor::attached(void* parent, FIDString type)
{
    if (isPlatformTypeSupported(type) != kResultTrue)
        return kInvalidArgument;
    if (!parent || frame || rect.getWidth() <= 0)
        return kResultFalse;
    if (!open(parent))
        return kResultFalse;
    return EditorView::attached(parent, type);
}

bool VST3Editor::open(void* parent)
{
    session = PlatformEditorSession::open(plugFrame, controller ? controller->getHostContext() : nullptr);
    if (!session)
        return false;

    frame = owned(new CFrame(CRect(0, 0, rect.getWidth(), rect.getHeight())));
    if (const UIAttributes* custom = description->getCustomAttributes("VST3Editor"))
    {
        bool focusDrawing = false;
        if (custom->getBooleanAttribute("frame-enable-focus-drawing", focusDrawing))
            frame->setFocusDrawingEnabled(focusDrawing);
        double focusWidth = 1;
        if (custom->getDoubleAttribute("frame-focus-width", focusWidth))
            frame->setFocusWidth(focusWidth);
    }
    if (CView* view = description->createView(templateName.c_str(), this))
        frame->addView(view);

    if (!frame->open(parent))
    {
        close();
        return false;
    }
    if (delegate)
        delegate->didOpen(this);
    syncTimer = owned(new CVSTGUITimer([this](CVSTGUITimer*) { syncParameters(); }, kParameterSyncInterval));
    return true;
}

tresult PLUGIN_API VST3Editor::removed()
{
    close();
    return EditorView::removed();
}

void VST3Editor::close()
{
    if (syncTimer)
    {
        syncTimer->stop();
        syncTimer.reset();
    }
    if (frame)
    {
        // Also when the window could not be made: the delegate may hold on to
        // views about to go.
        if (delegate)
            delegate->willClose(this);
        frame->close();
        frame.reset();
    }
    bindings.clear();
    session.reset();
}

tresult PLUGIN_API VST3Editor::onSize(ViewRect* newSize)
{
    // The editor has one size; the host is told so by checkSizeConstraint.
    return newSize ? kResultTrue : kInvalidArgument;
}

tresult PLUGIN_API VST3Editor::checkSizeConstraint(ViewRect* r)
{
    if (!r)
        return kInvalidArgument;
    *r = rect;
    return kResultTrue;
}

tresult PLUGIN_API VST3Editor::onKeyDown(char16 key, int16 keyCode, int16 modifiers)
{
    VstKeyCode code = keyCodeOf(key, keyCode, modifiers);
    return frame && frame->platformOnKeyDown(code) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VST3Editor::onKeyUp(char16 key, int16 keyCode, int16 modifiers)
{
    VstKeyCode code = keyCodeOf(key, keyCode, modifiers);
    return frame && frame->platformOnKeyUp(code) ? kResultTrue : kResultFalse;
}

void VST3Editor::syncParameters()
{
    for (auto& entry : bindings)
        entry.second->update();
}

ParameterBinding* VST3Editor::bindingFor(int32 tag)
{
    if (tag < 0)
        return nullptr;
    auto it = bindings.find(static_cast<ParamID>(tag));
    return it == bindings.end() ? nullptr : it->second.get();
}

void VST3Editor::bind(CControl* control)
{
    const int32 tag = control->getTag();
    if (tag < 0 || !parameters.count(static_cast<ParamID>(tag)))
        return;
    auto& binding = bindings[static_cast<ParamID>(tag)];
    if (!binding)
    {
        const bool isPrivate = delegate && delegate->isPrivateParameter(static_cast<ParamID>(tag));
        binding = std::make_unique<ParameterBinding>(controller, parameters[static_cast<ParamID>(tag)], isPrivate);
    }
    binding->addControl(control);
}

bool VST3Editor::unbind(CControl* control)
{
    ParameterBinding* binding = bindingFor(control->getTag());
    if (!binding || !binding->hasControl(control))
        return false;
    binding->removeControl(control);
    if (!binding->hasControls())
        bindings.erase(static_cast<ParamID>(control->getTag()));
    return true;
}

void VST3Editor::valueChanged(CControl* control)
{
    if (ParameterBinding* binding = bindingFor(control->getTag()))
        binding->controlChanged(control);
}

void VST3Editor::controlBeginEdit(CControl* control)
{
    if (ParameterBinding* binding = bindingFor(control->getTag()))
        binding->beginEdit();
}

void VST3Editor::controlEndEdit(CControl* control)
{
    if (ParameterBinding* binding = bindingFor(control->getTag()))
        binding->endEdit();
}

// A bound control whose tag changes moves to the new tag's parameter; controls
// still being built are bound once, in verifyView.
void VST3Editor::controlTagWillChange(CControl* control)
{
    retagging = unbind(control) ? control : nullptr;
}

void VST3Editor::controlTagDidChange(CControl* control)
{
    if (control == retagging)
        bind(control);
    retagging = nullptr;
}

int32 VST3Editor::getTagForName(UTF8StringPtr name, int32 registeredTag) const
{
    if (registeredTag != -1 || !name)
        return registeredTag;
    // A name that is a number is its own tag.
    double number = 0;
    if (UIAttributes::parseDouble(name, number) && number >= 0 && number <= 2147483647. &&
        number == static_cast<int32>(number))
        return static_cast<int32>(number);
    return -1;
}

CView* VST3Editor::createView(const UIAttributes& attributes, const IUIDescription* desc)
{
    const std::string* name = attributes.getAttributeValue("custom-view-name");
    if (!name || !delegate)
        return nullptr;
    return delegate->createCustomView(name->c_str(), attributes, desc, this);
}

CView* VST3Editor::verifyView(CView* view, const UIAttributes&, const IUIDescription*)
{
    if (auto* control = dynamic_cast<CControl*>(view))
        bind(control);
    return view;
}

IController* VST3Editor::createSubController(UTF8StringPtr name, const IUIDescription* desc)
{
    return delegate ? delegate->createSubController(name, desc, this) : nullptr;
}

} // namespace VSTGUI
