#pragma once

#include "gui/CControl.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

#include <string>
#include <vector>

namespace VSTGUI {

// One parameter and the controls that show it: control edits go to the host
// through the edit controller, host changes go to every control.
class ParameterBinding
{
public:
    // info describes the parameter; isPrivate keeps edits away from the host.
    ParameterBinding(Steinberg::Vst::EditController* controller, const Steinberg::Vst::ParameterInfo& info,
                     bool isPrivate);
    ~ParameterBinding();
    ParameterBinding(const ParameterBinding&) = delete;
    ParameterBinding& operator=(const ParameterBinding&) = delete;

    // Fills option menus with the parameter's entries and gives value
    // displays the parameter's texts, then shows the current value.
    void addControl(CControl* control);
    void removeControl(CControl* control);
    bool hasControls() const { return !controls.empty(); }
    bool hasControl(const CControl* control) const;

    void beginEdit();
    void endEdit();
    // A bound control was changed by the user.
    void controlChanged(CControl* source);
    // Shows a value the host or controller set; false when nothing changed.
    bool update();
    // A typed text through the controller's own parsing, as one edit; false,
    // changing nothing, when the controller reads no value in it.
    bool takeText(const std::string& text);

    Steinberg::Vst::ParamID getID() const { return info.id; }
    // The parameter's text for a normalised value.
    std::string textFor(double normalized) const;

private:
    // Sets the value (whole steps of a list) as one edit, or as part of the
    // edit under way, and shows it on every control but source.
    void edit(double normalized, CControl* source);
    void show(double normalized, CControl* except);
    void release(CControl* control);

    Steinberg::Vst::EditController* controller;
    Steinberg::Vst::ParameterInfo info;
    bool isPrivate;
    std::vector<CControl*> controls; // each referenced
    double shown = -1;               // the normalised value the controls show
    int32 edits = 0;
};

} // namespace VSTGUI
