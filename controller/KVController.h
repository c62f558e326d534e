#pragma once

#include "gui/VST3EditorDelegate.h"
#include "params/ParameterTable.h"

#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <mutex>

class CorrelationMeter;
class ScopeView;

namespace Steinberg {
namespace Vst {

// The edit controller: owns the 29 parameter objects, describes the root unit
// with its program list, follows the processor's state and receives the
// processor's scope blocks. It keeps no state of its own.
class KVController : public EditController, public VSTGUI::VST3EditorDelegate, public IUnitInfo
{
public:
    KVController();
    ~KVController() override;

    // IPluginBase
    tresult PLUGIN_API initialize(FUnknown* context) SMTG_OVERRIDE;

    // IConnectionPoint
    tresult PLUGIN_API notify(IMessage* message) SMTG_OVERRIDE;

    // IEditController
    tresult PLUGIN_API setComponentState(IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API setState(IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getState(IBStream* state) SMTG_OVERRIDE;
    tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) SMTG_OVERRIDE;
    // Both answer normalised values within 0..1, whatever plain value or text comes in.
    tresult PLUGIN_API getParamValueByString(ParamID tag, TChar* string, ParamValue& valueNormalized) SMTG_OVERRIDE;
    ParamValue PLUGIN_API plainParamToNormalized(ParamID tag, ParamValue plainValue) SMTG_OVERRIDE;
    IPlugView* PLUGIN_API createView(FIDString name) SMTG_OVERRIDE;

    // IEditController2
    tresult PLUGIN_API setKnobMode(KnobMode mode) SMTG_OVERRIDE;

    // VST3EditorDelegate (EditorHooks.cpp)
    VSTGUI::CView* createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes& attributes,
                                    const VSTGUI::IUIDescription* description, VSTGUI::VST3Editor* editor) override;
    void didOpen(VSTGUI::VST3Editor* editor) override;
    void willClose(VSTGUI::VST3Editor* editor) override;
    VSTGUI::IController* createSubController(VSTGUI::UTF8StringPtr name, const VSTGUI::IUIDescription* description,
                                             VSTGUI::VST3Editor* editor) override;

    // IUnitInfo
    int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) SMTG_OVERRIDE;
    int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramName(ProgramListID listId, int32 programIndex, String128 name) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                      String128 attributeValue) SMTG_OVERRIDE;
    tresult PLUGIN_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) SMTG_OVERRIDE;
    tresult PLUGIN_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                           String128 name) SMTG_OVERRIDE;
    UnitID PLUGIN_API getSelectedUnit() SMTG_OVERRIDE;
    tresult PLUGIN_API selectUnit(UnitID unitId) SMTG_OVERRIDE;
    tresult PLUGIN_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                    UnitID& unitId) SMTG_OVERRIDE;
    tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) SMTG_OVERRIDE;

    DEFINE_INTERFACES
    DEF_INTERFACE(IUnitInfo)
    END_DEFINE_INTERFACES(EditController)
    REFCOUNT_METHODS(EditController)

protected:
    ScopeView* scopeView = nullptr;               // the open editor's scope view, or null
    CorrelationMeter* correlationMeter = nullptr; // its correlation meter, or null
    bool editorOpen = false;                      // between the editor's open and close
    std::mutex scopeMutex; // guards scopeView, correlationMeter, editorOpen and the copies into them
    // The user's last editor size, relative to the template's at the screen's
    // scale; kept while the instance lives, never saved with its state.
    double editorZoom = 1.;

private:
    // Hands one complete scope block to the scope view and the meter, those
    // that are set. Called with scopeMutex held, only while the editor is open.
    void deliverScopeBlock(const uint8* block);
};

} // namespace Vst
} // namespace Steinberg
