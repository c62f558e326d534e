#include "vst2/EditorWrapper.h"

#include <limits>

namespace Steinberg {
namespace Vst {

namespace {

// The kind of parent window VST 2 hosts hand to effEditOpen on this platform.
#if SMTG_OS_WINDOWS
const FIDString kParentWindowType = kPlatformTypeHWND;
#else
const FIDString kParentWindowType = kPlatformTypeX11EmbedWindowID;
#endif

short toShort(int32 value)
{
    constexpr int32 low = std::numeric_limits<short>::min();
    constexpr int32 high = std::numeric_limits<short>::max();
    return static_cast<short>(value < low ? low : (value > high ? high : value));
}

} // namespace

EditorWrapper::EditorWrapper(AudioEffectX* effect, IEditController* controller, IdleRunLoop& runLoop)
    : AEffEditor(effect), effectX(effect), controller(controller), runLoop(runLoop)
{
}

EditorWrapper::~EditorWrapper()
{
    close();
    releaseView();
}

bool EditorWrapper::hasEditor(IEditController* controller)
{
    if (!controller)
        return false;
    IPtr<IPlugView> probe = owned(controller->createView(ViewType::kEditor));
    return probe && probe->isPlatformTypeSupported(kParentWindowType) == kResultTrue;
}

bool EditorWrapper::createView()
{
    if (view)
        return true;
    if (!controller)
        return false;
    view = owned(controller->createView(ViewType::kEditor));
    if (view && view->isPlatformTypeSupported(kParentWindowType) != kResultTrue)
        view = nullptr;
    return view != nullptr;
}

void EditorWrapper::releaseView()
{
    view = nullptr;
}

bool EditorWrapper::getRect(ERect** result)
{
    // Hosts ask for the size before they open the editor, to make its window.
    if (!createView())
    {
        *result = nullptr;
        return false;
    }
    ViewRect size;
    if (view->getSize(&size) != kResultTrue || size.getWidth() <= 0 || size.getHeight() <= 0)
    {
        *result = nullptr;
        return false;
    }
    rect.top = toShort(size.top);
    rect.left = toShort(size.left);
    rect.bottom = toShort(size.bottom);
    rect.right = toShort(size.right);
    *result = &rect;
    return true;
}

bool EditorWrapper::open(void* parent)
{
    if (!parent)
        return false;
    if (isOpen())
        close();
    if (!createView())
        return false;
    view->setFrame(this);
    if (view->attached(parent, kParentWindowType) != kResultTrue)
    {
        view->setFrame(nullptr);
        releaseView();
        return false;
    }
    systemWindow = parent;
    return true;
}

void EditorWrapper::close()
{
    if (view && isOpen())
    {
        view->removed();
        view->setFrame(nullptr);
        // A view is attached once; the next open makes a new one.
        releaseView();
    }
    systemWindow = nullptr;
}

void EditorWrapper::idle()
{
    runLoop.pump();
}

bool EditorWrapper::setKnobMode(VstInt32 mode)
{
    FUnknownPtr<IEditController2> controller2(controller);
    if (!controller2)
        return false;
    KnobMode knobMode;
    switch (mode)
    {
    case 0: knobMode = kCircularMode; break;
    case 1: knobMode = kRelativCircularMode; break;
    case 2: knobMode = kLinearMode; break;
    default: return false;
    }
    return controller2->setKnobMode(knobMode) == kResultTrue;
}

tresult PLUGIN_API EditorWrapper::resizeView(IPlugView* resized, ViewRect* newSize)
{
    if (!resized || !newSize || resized != view.get())
        return kInvalidArgument;
    if (!effectX || !effectX->sizeWindow(newSize->getWidth(), newSize->getHeight()))
        return kResultFalse;
    return view->onSize(newSize);
}

tresult PLUGIN_API EditorWrapper::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IPlugFrame::iid))
    {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
#if SMTG_OS_LINUX
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
    {
        *obj = static_cast<Linux::IRunLoop*>(&runLoop);
        return kResultOk;
    }
#endif
    *obj = nullptr;
    return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg
