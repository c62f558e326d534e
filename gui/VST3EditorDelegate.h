#pragma once

#include "gui/CPoint.h"

#include "pluginterfaces/vst/vsttypes.h"

namespace VSTGUI {

class CView;
class IController;
class IUIDescription;
class UIAttributes;
class VST3Editor;

// Hooks through which the edit controller takes part in building its editor.
class VST3EditorDelegate
{
public:
    virtual ~VST3EditorDelegate() = default;

    // A view for a description entry with a "custom-view-name"; null lets the
    // editor build the description's class.
    virtual CView* createCustomView(UTF8StringPtr /*name*/, const UIAttributes& /*attributes*/,
                                    const IUIDescription* /*description*/, VST3Editor* /*editor*/)
    {
        return nullptr;
    }
    virtual bool findParameter(const CPoint& /*pos*/, Steinberg::Vst::ParamID& /*paramID*/, VST3Editor* /*editor*/)
    {
        return false;
    }
    // A private parameter follows its controls but is not reported to the host.
    virtual bool isPrivateParameter(const Steinberg::Vst::ParamID /*paramID*/) { return false; }
    // After the views are built and shown.
    virtual void didOpen(VST3Editor* /*editor*/) {}
    // Before the views are destroyed.
    virtual void willClose(VST3Editor* /*editor*/) {}
    virtual IController* createSubController(UTF8StringPtr /*name*/, const IUIDescription* /*description*/,
                                             VST3Editor* /*editor*/)
    {
        return nullptr;
    }
};

} // namespace VSTGUI
