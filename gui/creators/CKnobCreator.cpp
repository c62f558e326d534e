#include "gui/IViewCreator.h"
#include "gui/controls/CKnob.h"
#include "gui/creators/CreatorHelpers.h"

#include <cmath>
#include <memory>

namespace VSTGUI {

namespace {

constexpr double kDegToRad = M_PI / 180.;

// Angles (degrees in the description), insets, the corona and handle looks,
// zoom-factor (the fine-drag divisor).
class CKnobCreator : public IViewCreator
{
public:
    IdStringPtr getViewName() const override { return "CKnob"; }
    IdStringPtr getBaseViewName() const override { return "CControl"; }
    CView* create(const UIAttributes&, const IUIDescription*) const override { return new CKnob(CRect()); }
    bool apply(CView* view, const UIAttributes& attributes, const IUIDescription* description) const override
    {
        auto* knob = dynamic_cast<CKnob*>(view);
        if (!knob)
            return false;
        using namespace CreatorHelpers;
        doubleAttribute(attributes, "angle-start",
                        [&](double v) { knob->setStartAngle(static_cast<float>(v * kDegToRad)); });
        doubleAttribute(attributes, "angle-range",
                        [&](double v) { knob->setRangeAngle(static_cast<float>(v * kDegToRad)); });
        doubleAttribute(attributes, "value-inset", [&](double v) { knob->setInsetValue(v); });
        doubleAttribute(attributes, "corona-inset", [&](double v) { knob->setCoronaInset(v); });
        doubleAttribute(attributes, "handle-line-width", [&](double v) { knob->setHandleLineWidth(v); });
        doubleAttribute(attributes, "zoom-factor", [&](double v) { knob->setZoomFactor(static_cast<float>(v)); });
        colorAttribute(attributes, "corona-color", description, [&](const CColor& c) { knob->setCoronaColor(c); });
        colorAttribute(attributes, "handle-shadow-color", description,
                       [&](const CColor& c) { knob->setColorShadowHandle(c); });
        colorAttribute(attributes, "handle-color", description, [&](const CColor& c) { knob->setColorHandle(c); });

        static const std::pair<const char*, int32> styleFlags[] = {
            {"circle-drawing", CKnob::kHandleCircleDrawing},    {"corona-drawing", CKnob::kCoronaDrawing},
            {"corona-from-center", CKnob::kCoronaFromCenter},   {"corona-inverted", CKnob::kCoronaInverted},
            {"corona-dash-dot", CKnob::kCoronaLineDashDot},     {"corona-outline", CKnob::kCoronaOutline},
            {"skip-handle-drawing", CKnob::kSkipHandleDrawing},
        };
        int32 style = knob->getDrawStyle();
        for (const auto& flag : styleFlags)
        {
            boolAttribute(attributes, flag.first,
                          [&](bool on) { style = on ? (style | flag.second) : (style & ~flag.second); });
        }
        knob->setDrawStyle(style);
        return true;
    }
};

} // namespace

std::unique_ptr<IViewCreator> makeCKnobCreator()
{
    return std::make_unique<CKnobCreator>();
}

} // namespace VSTGUI
