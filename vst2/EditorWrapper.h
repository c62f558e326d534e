#pragma once

// The VST 2 editor of a wrapped VST 3 plug-in: it asks the controller for its
// view, embeds it into the host's window (X11, or HWND on
// Windows) and acts as the view's frame,
// which also hands out the run loop the view takes its timers and events from.

#include "vst2/AudioEffectX.h"
#include "vst2/IdleRunLoop.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class EditorWrapper : public AEffEditor, public IPlugFrame
{
public:
    EditorWrapper(AudioEffectX* effect, IEditController* controller, IdleRunLoop& runLoop);
    ~EditorWrapper() override;

    // Whether the controller makes an editor view at all.
    static bool hasEditor(IEditController* controller);

    bool getRect(ERect** rect) override;
    bool open(void* parent) override;
    void close() override;
    void idle() override;
    bool setKnobMode(VstInt32 mode) override;

    // IPlugFrame
    tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) override;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    // Owned by the effect; the view only borrows its frame while attached.
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    bool createView();
    void releaseView();

    AudioEffectX* effectX;
    IPtr<IEditController> controller;
    IdleRunLoop& runLoop;
    IPtr<IPlugView> view;
    ERect rect{};
};

} // namespace Vst
} // namespace Steinberg
