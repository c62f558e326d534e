#pragma once

#include "gui/CFrame.h"
#include "gui/IController.h"
#include "gui/ParameterBinding.h"
#include "gui/UIDescription.h"
#include "gui/VST3EditorDelegate.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <map>
#include <memory>
#include <string>

namespace VSTGUI {

class CVSTGUITimer;
class IResourceProvider;
class PlatformEditorSession;

// The plug-in view built from an editor description. Embeds into a host's
// window of the platform's type and runs on the host's UI thread. Tagged
// controls are bound to the controller's parameters by tag; the
// controller, when it is a VST3EditorDelegate, takes part through its hooks.
// The views keep the template's size in units; the window is that size
// times the content scale (the screen's density) times the zoom (the user's
// resizing), and everything is drawn at that many pixels per unit.
class VST3Editor : public Steinberg::Vst::EditorView, public Steinberg::IPlugViewContentScaleSupport, public IController
{
public:
    // xmlFile and the bitmaps it names are read from resources, or as files
    // (relative to the description's folder) when resources is null.
    VST3Editor(Steinberg::Vst::EditController* controller, UTF8StringPtr templateName, UTF8StringPtr xmlFile,
               IResourceProvider* resources = nullptr);
    ~VST3Editor() override;

    // IPlugView
    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
    Steinberg::tresult PLUGIN_API removed() override;
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
    Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;
    // kResultTrue only when a view took the key, so that hosts keep their shortcuts.
    Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode,
                                            Steinberg::int16 modifiers) override;
    Steinberg::tresult PLUGIN_API onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode,
                                          Steinberg::int16 modifiers) override;
    Steinberg::tresult PLUGIN_API canResize() override { return Steinberg::kResultTrue; }

    // IPlugViewContentScaleSupport: factor from kMinContentScale to kMaxContentScale.
    Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

    // The size relative to the template's at the content scale, kept within
    // kMinZoom..kMaxZoom.
    void setZoom(double zoom);
    double getZoom() const { return zoom; }
    double getContentScaleFactor() const { return contentScale; }

    static constexpr double kMinZoom = 0.75;
    static constexpr double kMaxZoom = 2.5;
    static constexpr double kMinContentScale = 0.5;
    static constexpr double kMaxContentScale = 8.;

    CFrame* getFrame() const { return frame; }
    UIDescription* getUIDescription() const { return description; }
    // The window system's handle of the open editor's window, null while closed.
    void* getPlatformWindow() const;

    // IControlListener
    void valueChanged(CControl* control) override;
    void controlBeginEdit(CControl* control) override;
    void controlEndEdit(CControl* control) override;
    void controlTagWillChange(CControl* control) override;
    void controlTagDidChange(CControl* control) override;

    // IController
    int32 getTagForName(UTF8StringPtr name, int32 registeredTag) const override;
    IControlListener* getControlListener(UTF8StringPtr /*name*/) override { return this; }
    CView* createView(const UIAttributes& attributes, const IUIDescription* description) override;
    CView* verifyView(CView* view, const UIAttributes& attributes, const IUIDescription* description) override;
    IController* createSubController(UTF8StringPtr name, const IUIDescription* description) override;

    // How often host-side parameter changes reach the controls.
    static constexpr uint32 kParameterSyncInterval = 16; // milliseconds

    DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
    END_DEFINE_INTERFACES(EditorView)
    REFCOUNT_METHODS(EditorView)

private:
    bool open(void* parent);
    void close();
    ParameterBinding* bindingFor(int32 tag);
    void bind(CControl* control);
    bool unbind(CControl* control);
    void syncParameters();
    // rect and the frame follow the content scale and zoom.
    void applyScale();
    // Asks the host to make its window rect's size.
    void requestHostResize();
    // A new density: the size follows, and an open editor asks the host for it.
    void changeContentScale(double scale);
    // The window system's density, where the host has not set one.
    void followSystemScale(double scale);

    SharedPointer<UIDescription> description;
    std::string templateName;
    VST3EditorDelegate* delegate;
    SharedPointer<CFrame> frame;
    std::unique_ptr<PlatformEditorSession> session;
    SharedPointer<CVSTGUITimer> syncTimer;
    std::map<Steinberg::Vst::ParamID, Steinberg::Vst::ParameterInfo> parameters;
    std::map<Steinberg::Vst::ParamID, std::unique_ptr<ParameterBinding>> bindings;
    CControl* retagging = nullptr;
    CPoint templateSize;       // units
    double contentScale = 1.;  // device pixels per unit at zoom 1
    double zoom = 1.;          // the user's resizing on top of contentScale
    bool hostSetScale = false; // the host's content scale wins over the system's
};

} // namespace VSTGUI
