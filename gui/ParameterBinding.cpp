#include "gui/ParameterBinding.h"

#include "gui/controls/CKnob.h"
#include "gui/controls/COptionMenu.h"
#include "gui/controls/CTextLabel.h"

#include "sdk/Utf16.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

using namespace Steinberg;
using namespace Steinberg::Vst;

ParameterBinding::ParameterBinding(EditController* controller, const ParameterInfo& info, bool isPrivate)
    : controller(controller), info(info), isPrivate(isPrivate)
{
}

ParameterBinding::~ParameterBinding()
{
    while (edits > 0)
        endEdit();
    for (CControl* control : controls)
        release(control);
}

std::string ParameterBinding::textFor(double normalized) const
{
    // one unit more than a String128, so the text ends even when the controller fills it
    TChar text[sizeof(String128) / sizeof(TChar) + 1]{};
    if (controller->getParamStringByValue(info.id, normalized, text) != kResultOk)
        return {};
    return utf16ToUtf8(text);
}

void ParameterBinding::addControl(CControl* control)
{
    if (!control || std::find(controls.begin(), controls.end(), control) != controls.end())
        return;
    control->remember();
    controls.push_back(control);

    if (auto* menu = dynamic_cast<COptionMenu*>(control))
    {
        if (info.stepCount > 0)
        {
            menu->removeAllEntry();
            for (int32 i = 0; i <= info.stepCount; ++i)
                menu->addEntry(textFor(static_cast<double>(i) / info.stepCount));
            menu->setMin(0.f);
            menu->setMax(static_cast<float>(info.stepCount));
        }
    }
    else if (auto* display = dynamic_cast<CParamDisplay*>(control); display && !dynamic_cast<CTextLabel*>(control))
    {
        display->setValueToStringFunction(
            [this](float value, std::string& result, CParamDisplay* d)
            {
                const float range = d->getMax() - d->getMin();
                const double normalized = range == 0.f ? 0. : (value - d->getMin()) / range;
                result = textFor(std::clamp(normalized, 0., 1.));
                return true;
            });
        display->setTextInputFunction([this](const std::string& text, CParamDisplay*) { return takeText(text); });
    }
    else if (auto* knob = dynamic_cast<CKnob*>(control))
    {
        knob->setStepCount(info.stepCount);
    }
    control->setValueNormalized(static_cast<float>(controller->getParamNormalized(info.id)));
    control->invalid();
}

bool ParameterBinding::hasControl(const CControl* control) const
{
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

void ParameterBinding::removeControl(CControl* control)
{
    auto it = std::find(controls.begin(), controls.end(), control);
    if (it == controls.end())
        return;
    controls.erase(it);
    release(control);
}

void ParameterBinding::release(CControl* control)
{
    // The display may outlive this binding: it must not call into it any more.
    if (auto* display = dynamic_cast<CParamDisplay*>(control); display && !dynamic_cast<CTextLabel*>(control))
    {
        display->setValueToStringFunction(nullptr);
        display->setTextInputFunction(nullptr);
    }
    control->forget();
}

void ParameterBinding::beginEdit()
{
    if (edits++ == 0 && !isPrivate)
        controller->beginEdit(info.id);
}

void ParameterBinding::endEdit()
{
    if (edits == 0)
        return;
    if (--edits == 0 && !isPrivate)
        controller->endEdit(info.id);
}

void ParameterBinding::controlChanged(CControl* source)
{
    edit(source->getValueNormalized(), source);
}

void ParameterBinding::edit(double normalized, CControl* source)
{
    // A list parameter takes whole steps only.
    if (info.stepCount > 0)
        normalized = std::round(normalized * info.stepCount) / info.stepCount;
    controller->setParamNormalized(info.id, normalized);
    // Hosts record automation only inside a begin/end pair.
    beginEdit();
    if (!isPrivate)
        controller->performEdit(info.id, normalized);
    endEdit();
    show(controller->getParamNormalized(info.id), source);
}

bool ParameterBinding::takeText(const std::string& text)
{
    String128 wide{};
    utf8ToUtf16(text.c_str(), wide, static_cast<int32>(sizeof(wide) / sizeof(wide[0])));
    ParamValue normalized = 0;
    if (controller->getParamValueByString(info.id, wide, normalized) != kResultOk || !std::isfinite(normalized))
        return false;
    edit(std::clamp(normalized, 0., 1.), nullptr);
    return true;
}

bool ParameterBinding::update()
{
    const double current = controller->getParamNormalized(info.id);
    if (current == shown)
        return false;
    show(current, nullptr);
    return true;
}

void ParameterBinding::show(double normalized, CControl* except)
{
    shown = normalized;
    for (CControl* control : controls)
    {
        if (control == except)
            continue;
        control->setValueNormalized(static_cast<float>(normalized));
        // Value displays also change when the text does but the value does not.
        control->invalid();
    }
}

} // namespace VSTGUI
