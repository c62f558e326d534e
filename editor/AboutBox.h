#pragma once

// The about box: a modal view over the editor that fades in when the About
// button is pressed, shows the plug-in's version and what the host context
// tells about the host, and fades out and goes when Close is pressed.

#include "gui/Animator.h"
#include "gui/DelegationController.h"
#include "gui/VstKeyCode.h"
#include "gui/controls/CTextLabel.h"

#include "pluginterfaces/base/funknown.h"

#include <string>

namespace VSTGUI {

class UIDescription;

// A label whose text is fixed at creation; it answers no text when asked.
class CMyTextLabel : public CTextLabel
{
public:
    CMyTextLabel(const CRect& size, UTF8StringPtr text) : CTextLabel(size, text) {}
    UTF8StringPtr getText() const override { return nullptr; }
};

// The sub-controller of the About button and of the box's views: opens the
// box on a press of the About button, closes it on a press of Close.
class ModalViewController : public DelegationController
{
public:
    ModalViewController(IController* parent, UIDescription* description)
        : DelegationController(parent), description(description)
    {
    }

    void valueChanged(CControl* control) override;

    static constexpr int32 kCreateModalViewTag = 100;
    static constexpr int32 kCloseModalViewTag = 101;

    // Fades out the box that holds closeButton, which takes no more presses.
    static void close(CControl* closeButton);

private:
    void open(CControl* aboutButton);

    UIDescription* description;
};

// Attached to an open box: Escape closes it as its Close button does.
class ModalViewKeys : public IController, public IKeyboardHook
{
public:
    void valueChanged(CControl*) override {}
    int32 onKeyDown(const VstKeyCode& code, CFrame* frame) override;
};

// The fade-out: moves the alpha to 0, then takes the box off the frame,
// also when the fade is cancelled.
class RemoveModalViewAnimation : public Animation::AlphaValueAnimation
{
public:
    RemoveModalViewAnimation() : AlphaValueAnimation(0.f, false) {}
    void animationFinished(CView* view, IdStringPtr name, bool wasCanceled) override;
};

} // namespace VSTGUI

namespace AboutBox {

constexpr const char* kTemplate = "ModalView";
constexpr const char* kSubControllerName = "ModalViewController";
constexpr const char* kAnimationName = "AlphaAnimation";
constexpr VSTGUI::uint32 kFadeMilliseconds = 240;
constexpr float kFadeInFactor = 2.f;
constexpr float kFadeOutFactor = 0.5f;
constexpr const char* kUnknown = "unknown";
constexpr const char* kLabelNames[] = {"VersionDescriptor", "HostDescriptor1", "HostDescriptor2", "HostDescriptor3"};

// What the controller's host context tells about the host.
struct HostFacts
{
    std::string name = kUnknown;
    bool vst2 = false; // the context is a VST 2 wrapper's
    std::string vendor = kUnknown;
    std::string version; // empty: unknown
};

HostFacts readHostFacts(Steinberg::FUnknown* hostContext);

// v / 1000, a point, and the next three decimal digits: 2400 gives "2.400".
std::string formatVersion(Steinberg::int32 v);

bool isLabelName(const char* name);

// The text of the about box's label name for these facts; false when the
// name is not one of its labels or the label shows nothing for them.
bool labelText(const char* name, const HostFacts& facts, std::string& text);

// The label for a custom view name of the box, or null.
VSTGUI::CView* createLabel(const char* name, Steinberg::FUnknown* hostContext);

} // namespace AboutBox
