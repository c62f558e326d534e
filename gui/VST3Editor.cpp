#include "gui/VST3Editor.h"

#include "gui/CVSTGUITimer.h"
#include "gui/IResourceProvider.h"
#include "gui/PlatformEditorSession.h"
#include "gui/ViewFactory.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VSTGUI {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

CPoint templateSizeOf(const UIDescription& description, const std::string& name)
{
    CPoint size;
    const UIAttributes* attributes = description.getViewAttributes(name.c_str());
    if (!attributes || !attributes->getPointAttribute("size", size) || !(size.x >= 1 && size.y >= 1) || size.x > 1e5 ||
        size.y > 1e5)
        return CPoint();
    return CPoint(std::floor(size.x), std::floor(size.y));
}

int32 scaled(CCoord units, double scale)
{
    return static_cast<int32>(std::lround(units * scale));
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
        templateSize = templateSizeOf(*description, this->templateName);
    rect = ViewRect(0, 0, static_cast<int32>(templateSize.x), static_cast<int32>(templateSize.y));
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

    frame = owned(new CFrame(CRect(0, 0, templateSize.x, templateSize.y)));
    frame->setScaleFactor(contentScale * zoom);
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
    frame->setSystemScaleHandler([this](double scale) { followSystemScale(scale); });
    followSystemScale(frame->getPlatformFrame()->getSystemScaleFactor());
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

void VST3Editor::applyScale()
{
    const double scale = contentScale * zoom;
    rect.right = rect.left + scaled(templateSize.x, scale);
    rect.bottom = rect.top + scaled(templateSize.y, scale);
    if (frame)
        frame->setScaleFactor(scale);
}

void VST3Editor::requestHostResize()
{
    if (!plugFrame)
        return;
    ViewRect wanted = rect;
    plugFrame->resizeView(this, &wanted);
}

void VST3Editor::changeContentScale(double scale)
{
    if (scale == contentScale)
        return;
    contentScale = scale;
    applyScale();
    if (frame)
        requestHostResize();
}

void VST3Editor::followSystemScale(double scale)
{
    if (!hostSetScale && scale >= kMinContentScale && scale <= kMaxContentScale)
        changeContentScale(scale);
}

tresult PLUGIN_API VST3Editor::setContentScaleFactor(ScaleFactor factor)
{
    if (!(factor >= kMinContentScale && factor <= kMaxContentScale))
        return kInvalidArgument;
    hostSetScale = true;
    changeContentScale(factor);
    return kResultTrue;
}

void VST3Editor::setZoom(double z)
{
    if (!(z > 0))
        return;
    zoom = std::clamp(z, kMinZoom, kMaxZoom);
    applyScale();
}

tresult PLUGIN_API VST3Editor::onSize(ViewRect* newSize)
{
    if (!newSize)
        return kInvalidArgument;
    // The size asked for (the host answering our own request) keeps the exact scale.
    if (newSize->getWidth() == rect.getWidth() && newSize->getHeight() == rect.getHeight())
    {
        rect = *newSize;
        return kResultTrue;
    }
    if (templateSize.x < 1 || templateSize.y < 1)
        return kResultFalse;
    // The host's size is final (its window may be wider than asked, for a
    // toolbar): draw the largest editor of the template's shape that fits in
    // it. Answering with another size here would have the host size its
    // window again, and call again, without end.
    const double fit = std::min(newSize->getWidth() / templateSize.x, newSize->getHeight() / templateSize.y);
    setZoom(fit / contentScale);
    rect = *newSize;
    return kResultTrue;
}

// The template's aspect ratio at kMinZoom..kMaxZoom of the content scale;
// the side the host changed more decides the scale.
tresult PLUGIN_API VST3Editor::checkSizeConstraint(ViewRect* r)
{
    if (!r)
        return kInvalidArgument;
    if (templateSize.x < 1)
        return kResultFalse;
    const double current = contentScale * zoom;
    const double byWidth = r->getWidth() / templateSize.x;
    const double byHeight = r->getHeight() / templateSize.y;
    double scale = std::abs(byWidth - current) >= std::abs(byHeight - current) ? byWidth : byHeight;
    scale = std::clamp(scale, contentScale * kMinZoom, contentScale * kMaxZoom);
    r->right = r->left + scaled(templateSize.x, scale);
    r->bottom = r->top + scaled(templateSize.y, scale);
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
