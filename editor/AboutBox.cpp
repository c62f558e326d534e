#include "editor/AboutBox.h"

#include "gui/CControl.h"
#include "gui/CFrame.h"
#include "gui/UIDescription.h"
#include "params/version.h"
#include "sdk/IWrapperInterface.h"
#include "sdk/Utf16.h"

#include "pluginterfaces/vst/ivsthostapplication.h"

#include <cstring>

namespace VSTGUI {

void ModalViewController::valueChanged(CControl* control)
{
    // Buttons report the press and the release; only the press acts.
    if (!control || control->getValue() == 0.f)
        return;
    switch (control->getTag())
    {
    case kCreateModalViewTag: open(control); break;
    case kCloseModalViewTag: close(control); break;
    default: break;
    }
}

void ModalViewController::open(CControl* aboutButton)
{
    CFrame* frame = aboutButton->getFrame();
    if (!description || !frame)
        return;
    CView* box = description->createView(AboutBox::kTemplate, this);
    if (!box)
        return;

    // Centred in the frame.
    const CRect f = frame->getViewSize();
    CRect v = box->getViewSize();
    v.offset((f.left + (f.right - f.left) * 0.5) - (v.right - v.left) * 0.5,
             (f.top + (f.bottom - f.top) * 0.5) - (v.bottom - v.top) * 0.5);
    box->setViewSize(v, true);
    box->setMouseableArea(v);
    if (!box->getAttachedController())
        box->setAttachedController(new ModalViewKeys);

    if (!frame->setModalView(box))
    {
        box->forget();
        return;
    }
    box->setAlphaValue(0.f);
    if (box->getFrame())
        box->getFrame()->getAnimator()->addAnimation(
            box, AboutBox::kAnimationName, new Animation::AlphaValueAnimation(1.f),
            new Animation::PowerTimingFunction(AboutBox::kFadeMilliseconds, AboutBox::kFadeInFactor));
    aboutButton->setValue(0.f);
    box->forget(); // the frame holds it while it is modal
}

void ModalViewController::close(CControl* closeButton)
{
    CFrame* frame = closeButton->getFrame();
    CView* box = frame ? frame->getModalView() : nullptr;
    if (box && box->getFrame())
        box->getFrame()->getAnimator()->addAnimation(
            box, AboutBox::kAnimationName, new RemoveModalViewAnimation,
            new Animation::PowerTimingFunction(AboutBox::kFadeMilliseconds, AboutBox::kFadeOutFactor));
    // Further presses do nothing while the box fades.
    closeButton->setMouseEnabled(false);
}

namespace {

CControl* findControl(CView* view, int32 tag)
{
    if (auto* control = dynamic_cast<CControl*>(view); control && control->getTag() == tag)
        return control;
    if (auto* container = dynamic_cast<CViewContainer*>(view))
        for (int32 i = 0; i < container->getNbViews(); ++i)
            if (CControl* found = findControl(container->getView(i), tag))
                return found;
    return nullptr;
}

} // namespace

int32 ModalViewKeys::onKeyDown(const VstKeyCode& code, CFrame* frame)
{
    if (code.virt != VKEY_ESCAPE || code.modifier != 0 || !frame)
        return kKeyNotHandled;
    CControl* closeButton = findControl(frame->getModalView(), ModalViewController::kCloseModalViewTag);
    if (!closeButton)
        return kKeyNotHandled;
    // A box that already fades takes no second close.
    if (closeButton->getMouseEnabled())
        ModalViewController::close(closeButton);
    return kKeyHandled;
}

void RemoveModalViewAnimation::animationFinished(CView* view, IdStringPtr /*name*/, bool wasCanceled)
{
    if (!view)
        return;
    if (!wasCanceled)
        view->setAlphaValue(endValue);
    CFrame* frame = view->getFrame();
    if (frame && frame->getModalView() == view)
        frame->setModalView(nullptr);
}

} // namespace VSTGUI

namespace AboutBox {

using namespace Steinberg;

HostFacts readHostFacts(FUnknown* hostContext)
{
    HostFacts facts;
    if (FUnknownPtr<Vst::IHostApplication> application{hostContext})
    {
        Vst::String128 name{};
        if (application->getName(name) == kResultOk)
        {
            name[127] = 0;
            facts.name = utf16ToUtf8(name);
        }
    }
    facts.vst2 = FUnknownPtr<Vst::IVst3ToVst2Wrapper>(hostContext) != nullptr;
    if (FUnknownPtr<Vst::IWrapperInterface> wrapper{hostContext})
    {
        facts.vendor = wrapper->getHostVendor();
        facts.version = formatVersion(wrapper->getHostVendorVersion());
    }
    return facts;
}

std::string formatVersion(int32 v)
{
    // A negative number is shown with its sign in front of the same digits.
    const bool negative = v < 0;
    const int64 magnitude = negative ? -static_cast<int64>(v) : v;
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 1000) + ".";
    text += std::to_string((magnitude % 1000) / 100);
    text += std::to_string((magnitude % 100) / 10);
    text += std::to_string(magnitude % 10);
    return text;
}

bool isLabelName(const char* name)
{
    for (const char* label : kLabelNames)
        if (name && std::strcmp(name, label) == 0)
            return true;
    return false;
}

bool labelText(const char* name, const HostFacts& facts, std::string& text)
{
    if (!name)
        return false;
    if (std::strcmp(name, "VersionDescriptor") == 0)
    {
        text = std::string("Version: ") + KalviorVersion::kVersion + "   (x64)";
        return true;
    }
    if (std::strcmp(name, "HostDescriptor1") == 0)
    {
        text = facts.vst2 ? "VST2 Host" : "VST3 Host";
        if (facts.name != kUnknown)
            text += ": " + facts.name;
        return true;
    }
    if (std::strcmp(name, "HostDescriptor2") == 0)
    {
        if (facts.vendor == kUnknown)
            return false;
        text = "Host Vendor: " + facts.vendor;
        return true;
    }
    if (std::strcmp(name, "HostDescriptor3") == 0)
    {
        if (facts.version.empty())
            return false;
        text = "Host Version: " + facts.version;
        return true;
    }
    return false;
}

VSTGUI::CView* createLabel(const char* name, FUnknown* hostContext)
{
    if (!isLabelName(name))
        return nullptr; // not a label of the box: ask the host nothing
    std::string text;
    if (!labelText(name, readHostFacts(hostContext), text))
        return nullptr;
    // The description gives it its place, font and colours.
    return new VSTGUI::CMyTextLabel(VSTGUI::CRect(), text.c_str());
}

} // namespace AboutBox
