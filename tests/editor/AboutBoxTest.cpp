// The about box: the label texts from what the host context says (VST 3 host,
// VST 2 wrapper with IWrapperInterface), the version formatting, and the box
// itself in the real editor on a private Xvfb server: opened by the About
// press (not the release), fading in, closed by Close or Escape with a
// fade-out that removes it, also when the fade-out is cancelled.

#include "EditorHost.h"

#include "controller/KVController.h"
#include "editor/AboutBox.h"
#include "gui/CFrame.h"
#include "gui/VST3Editor.h"
#include "sdk/IWrapperInterface.h"
#include "sdk/Utf16.h"
#include "sdk/hosting/HostContext.h"

#include "pluginterfaces/vst/ivsthostapplication.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstring>
#include <string>

using namespace Steinberg;
using namespace VSTGUI;

namespace {

// What the VST 2 wrapper's host context answers: the host's product name,
// IVst3ToVst2Wrapper and the wrapper's own interface.
class Vst2Context : public Vst::IHostApplication, public Vst::IVst3ToVst2Wrapper, public Vst::IWrapperInterface
{
public:
    Vst2Context(const char* name, std::string vendor, int32 version)
        : name(name), vendor(std::move(vendor)), version(version)
    {
    }

    tresult PLUGIN_API getName(Vst::String128 out) override
    {
        if (!name)
            return kResultFalse;
        utf8ToUtf16(name, out, 128);
        return kResultOk;
    }
    tresult PLUGIN_API createInstance(TUID, TUID, void** obj) override
    {
        *obj = nullptr;
        return kResultFalse;
    }
    std::string PLUGIN_API getHostVendor() override { return vendor; }
    int32 PLUGIN_API getHostVendorVersion() override { return version; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IHostApplication::iid))
            *obj = static_cast<IHostApplication*>(this);
        else if (FUnknownPrivate::iidEqual(iid, IVst3ToVst2Wrapper::iid))
            *obj = static_cast<IVst3ToVst2Wrapper*>(this);
        else if (FUnknownPrivate::iidEqual(iid, IWrapperInterface::iid))
            *obj = static_cast<IWrapperInterface*>(this);
        else
        {
            *obj = nullptr;
            return kNoInterface;
        }
        ++references;
        return kResultOk;
    }
    uint32 PLUGIN_API addRef() override { return ++references; }
    uint32 PLUGIN_API release() override { return --references; }

    // As the wrapper hands itself to initialize().
    FUnknown* context() { return static_cast<Vst::IHostApplication*>(this); }

    int references = 1; // the test's own; every query must be released again

private:
    const char* name;
    std::string vendor;
    int32 version;
};

// The text a label was made with (CMyTextLabel answers none when asked).
std::string storedText(CView* view)
{
    auto* label = dynamic_cast<CTextLabel*>(view);
    return label ? label->CTextLabel::getText() : std::string("<not a label>");
}

struct LabelCase
{
    const char* what;
    FUnknown* context;
    const char* lines[4]; // null: no custom view
};

TEST(AboutBoxLabels, TextsFollowTheHostContext)
{
    Hosting::HostContext bitwig{"Bitwig Studio"};
    Hosting::HostContext unnamed{"unknown"};
    Vst2Context reaper{"REAPER", "Cockos", 2400};
    Vst2Context silent{"Some Host", "", 0};
    Vst2Context nameless{nullptr, "Vendor", 12345};
    Vst2Context accented{"Ardour \xC3\x91", "Ardour Community", 7003};
    constexpr const char* kVersion = "Version: 1.0.0.1   (x64)";
    const LabelCase cases[] = {
        {"VST 3 host", &bitwig, {kVersion, "VST3 Host: Bitwig Studio", nullptr, nullptr}},
        {"VST 3 host named unknown", &unnamed, {kVersion, "VST3 Host", nullptr, nullptr}},
        {"no context", nullptr, {kVersion, "VST3 Host", nullptr, nullptr}},
        {"VST 2 host", reaper.context(), {kVersion, "VST2 Host: REAPER", "Host Vendor: Cockos", "Host Version: 2.400"}},
        {"VST 2 host without vendor",
         silent.context(),
         {kVersion, "VST2 Host: Some Host", "Host Vendor: ", "Host Version: 0.000"}},
        {"VST 2 host without a name",
         nameless.context(),
         {kVersion, "VST2 Host", "Host Vendor: Vendor", "Host Version: 12.345"}},
        {"non-ASCII name",
         accented.context(),
         {kVersion, "VST2 Host: Ardour \xC3\x91", "Host Vendor: Ardour Community", "Host Version: 7.003"}},
    };
    for (const LabelCase& c : cases)
    {
        for (int i = 0; i < 4; ++i)
        {
            SCOPED_TRACE(std::string(c.what) + ", " + AboutBox::kLabelNames[i]);
            CView* view = AboutBox::createLabel(AboutBox::kLabelNames[i], c.context);
            if (!c.lines[i])
            {
                EXPECT_EQ(view, nullptr);
                continue;
            }
            ASSERT_NE(view, nullptr);
            EXPECT_NE(dynamic_cast<CMyTextLabel*>(view), nullptr);
            EXPECT_EQ(storedText(view), c.lines[i]);
            EXPECT_EQ(static_cast<CTextLabel*>(view)->getText(), nullptr) << "the label answers no text";
            view->forget();
        }
    }
    for (Vst2Context* context : {&reaper, &silent, &nameless, &accented})
        EXPECT_EQ(context->references, 1) << "an interface of the host context was not released";
    EXPECT_EQ(AboutBox::createLabel("ScopeView", &bitwig), nullptr);
    EXPECT_EQ(AboutBox::createLabel("VersionDescriptorX", &bitwig), nullptr);
    EXPECT_EQ(AboutBox::createLabel(nullptr, &bitwig), nullptr);
}

// The real editor with the about box, embedded in a window on Xvfb.
class AboutBoxEditor : public ::testing::Test, public EditorTest::EditorHost
{
protected:
    void SetUp() override
    {
        std::string reason;
        if (!window.open(reason))
            GTEST_SKIP() << "no X server: " << reason;
    }

    void open(FUnknown* context)
    {
        controller = new Vst::KVController();
        ASSERT_EQ(controller->initialize(context), kResultOk);
        editor = new VST3Editor(controller, "view", KALVIOR_EDITOR_DESCRIPTION);
        editor->setFrame(&runLoop);
        ASSERT_EQ(editor->attached(reinterpret_cast<void*>(window.window), kPlatformTypeX11EmbedWindowID), kResultOk);
        settle(120);
    }

    void TearDown() override { close(); }

    void close()
    {
        if (editor)
        {
            editor->removed();
            editor->setFrame(nullptr);
            editor->release();
            editor = nullptr;
        }
        if (controller)
        {
            controller->terminate();
            controller->release();
            controller = nullptr;
        }
    }

    CFrame* frame() const { return editor ? editor->getFrame() : nullptr; }
    CView* box() const { return frame() ? frame()->getModalView() : nullptr; }

    // The box's inner container, which holds the button and the labels.
    CViewContainer* inner() const
    {
        auto* outer = dynamic_cast<CViewContainer*>(box());
        return outer && outer->getNbViews() > 0 ? dynamic_cast<CViewContainer*>(outer->getView(0)) : nullptr;
    }
    // The child of the inner container at origin (x, y).
    CView* childAt(int x, int y) const
    {
        CViewContainer* container = inner();
        for (int32 i = 0; container && i < container->getNbViews(); ++i)
        {
            CView* view = container->getView(i);
            if (view->getViewSize().left == x && view->getViewSize().top == y)
                return view;
        }
        return nullptr;
    }

    static constexpr int kAboutX = 285 + 40, kAboutY = 450 + 10;                     // the About button's centre
    static constexpr int kCloseX = 10 + 20 + 210 + 40, kCloseY = 10 + 15 + 395 + 10; // Close, inside the box

    // Declared first, so it outlives the controller that holds it.
    Hosting::HostContext vst3Host{"Bitwig Studio"};
    Vst::KVController* controller = nullptr;
    VST3Editor* editor = nullptr;
};
// The About button reports its press when the mouse comes up (value 1) and
// then its release (value 0): one click opens exactly one box, fading in.
// Close, or Escape from the window or the host, fades it out (Close takes no
// presses meanwhile) and removes it; About opens a new one.
TEST_F(AboutBoxEditor, AClickOpensTheBoxFadingInAndCloseOrEscapeFadesItOut)
{
    enum Gesture
    {
        kCloseButton,
        kWindowEscape,
        kHostEscape
    };
    open(&vst3Host);
    for (Gesture gesture : {kCloseButton, kWindowEscape, kHostEscape})
    {
        SCOPED_TRACE(gesture);
        ASSERT_EQ(box(), nullptr);
        moveTo(kAboutX, kAboutY);
        holdButton(true);
        EXPECT_EQ(box(), nullptr) << "nothing happens before the button is let go";
        holdButton(false);
        CView* opened = box();
        ASSERT_NE(opened, nullptr);
        EXPECT_EQ(opened->getViewSize(), CRect(10, 10, 10 + 355, 10 + 475));
        EXPECT_LT(opened->getAlphaValue(), 1.f) << "it fades in";
        settle(400);
        ASSERT_EQ(box(), opened);
        EXPECT_EQ(box()->getAlphaValue(), 1.f) << "faded in after 240 ms";

        // The box's lines come from the controller's custom-view hook.
        EXPECT_EQ(storedText(childAt(35, 110)), "Version: 1.0.0.1   (x64)");
        EXPECT_EQ(storedText(childAt(35, 210)), "VST3 Host: Bitwig Studio");
        auto* close = dynamic_cast<CControl*>(childAt(210, 395));
        ASSERT_NE(close, nullptr);
        if (gesture == kCloseButton)
            click(kCloseX, kCloseY);
        else if (gesture == kWindowEscape)
            tap(XK_Escape);
        else
        {
            // The host's virtual key codes are the editor's.
            EXPECT_EQ(editor->onKeyDown(0, VKEY_ESCAPE, 0), kResultTrue);
            EXPECT_EQ(editor->onKeyDown(0, VKEY_ESCAPE, 0), kResultTrue) << "a second Escape while it fades";
        }
        ASSERT_NE(box(), nullptr) << "still fading";
        EXPECT_FALSE(close->getMouseEnabled()) << "Close is disabled while the box fades";
        settle(400);
        EXPECT_EQ(box(), nullptr) << "removed after the fade-out";
    }
    EXPECT_EQ(editor->onKeyDown(0, VKEY_ESCAPE, 0), kResultFalse) << "without the box Escape is the host's";
}

TEST_F(AboutBoxEditor, CancelledFadeOutStillRemovesTheBoxButKeepsItsAlpha)
{
    open(&vst3Host);
    click(kAboutX, kAboutY);
    settle(300);
    CView* fading = box();
    ASSERT_NE(fading, nullptr);
    fading->remember();
    click(kCloseX, kCloseY);
    const float alpha = fading->getAlphaValue();
    frame()->getAnimator()->removeAnimation(fading, AboutBox::kAnimationName);
    EXPECT_EQ(box(), nullptr);
    EXPECT_EQ(fading->getAlphaValue(), alpha) << "a cancelled fade leaves the alpha where it was";
    EXPECT_GT(alpha, 0.f);
    fading->forget();
}

} // namespace
