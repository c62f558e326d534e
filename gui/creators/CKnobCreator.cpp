#include "gui/controls/CKnob.h"
#include "gui/creators/CreatorHelpers.h"
#include "gui/creators/ViewCreator.h"

#include <cmath>
#include <memory>

namespace VSTGUI {

namespace {

constexpr double kPi = 3.14159265358979323846; // M_PI, which strict ISO modes on some platforms lack
constexpr double kDegToRad = kPi / 180.;

// Angles (degrees in the description), insets, the corona and handle looks,
// zoom-factor (the fine-drag divisor).
void applyCKnob(CKnob& knob, const UIAttributes& attributes, const IUIDescription* description)
{
    using namespace CreatorHelpers;
    doubleAttribute(attributes, "angle-start",
                    [&](double v) { knob.setStartAngle(static_cast<float>(v * kDegToRad)); });
    doubleAttribute(attributes, "angle-range",
                    [&](double v) { knob.setRangeAngle(static_cast<float>(v * kDegToRad)); });
    doubleAttribute(attributes, "value-inset", [&](double v) { knob.setInsetValue(v); });
    doubleAttribute(attributes, "corona-inset", [&](double v) { knob.setCoronaInset(v); });
    doubleAttribute(attributes, "handle-line-width", [&](double v) { knob.setHandleLineWidth(v); });
    doubleAttribute(attributes, "zoom-factor", [&](double v) { knob.setZoomFactor(static_cast<float>(v)); });
    colorAttribute(attributes, "corona-color", description, [&](const CColor& c) { knob.setCoronaColor(c); });
    colorAttribute(attributes, "handle-shadow-color", description,
                   [&](const CColor& c) { knob.setColorShadowHandle(c); });
    colorAttribute(attributes, "handle-color", description, [&](const CColor& c) { knob.setColorHandle(c); });

    static const StyleFlag styleFlags[] = {
        {"circle-drawing", CKnob::kHandleCircleDrawing},    {"corona-drawing", CKnob::kCoronaDrawing},
        {"corona-from-center", CKnob::kCoronaFromCenter},   {"corona-inverted", CKnob::kCoronaInverted},
        {"corona-dash-dot", CKnob::kCoronaLineDashDot},     {"corona-outline", CKnob::kCoronaOutline},
        {"skip-handle-drawing", CKnob::kSkipHandleDrawing},
    };
    knob.setDrawStyle(styleAttributes(attributes, styleFlags, knob.getDrawStyle()));
}

} // namespace

std::unique_ptr<IViewCreator> makeCKnobCreator()
{
    return std::make_unique<ViewCreator<CKnob>>("CKnob", "CControl", applyCKnob);
}

} // namespace VSTGUI
