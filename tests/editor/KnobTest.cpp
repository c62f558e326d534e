#include "gui/controls/CAnimKnob.h"
#include "gui/controls/COnOffButton.h"
#include "gui/controls/CParamDisplay.h"
#include "gui/controls/CTextButton.h"
#include "tests/params/TextHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

// What a control reports: "begin", "value 0.5", "end".
class RecordingListener : public IControlListener
{
public:
    void valueChanged(CControl* control) override { log.push_back("value " + std::to_string(control->getValue())); }
    void controlBeginEdit(CControl*) override { log.push_back("begin"); }
    void controlEndEdit(CControl*) override { log.push_back("end"); }
    std::vector<std::string> log;
};

CAnimKnob* makeKnob(RecordingListener* listener, float value, float zoom)
{
    auto* knob = new CAnimKnob(CRect(0, 0, 36, 36), listener, 3);
    knob->setValue(value);
    knob->setDefaultValue(0.75f);
    knob->setZoomFactor(zoom);
    knob->setWheelInc(0.1f);
    return knob;
}

TEST(Knob, VerticalDragCoversTheRangeIn200PixelsAndShiftDividesByTheZoom)
{
    struct Case
    {
        float start;
        float zoom;
        bool shift;
        double dy; // positive is down
        double expected;
    };
    const Case cases[] = {
        {0.5f, 1.5f, false, -40, 0.7},  {0.5f, 1.5f, false, 30, 0.35},  {0.5f, 10.f, true, -100, 0.55},
        {0.5f, 1.5f, true, -60, 0.7},   {0.9f, 1.5f, false, -100, 1.0}, {0.1f, 1.5f, false, 100, 0.0},
        {0.0f, 10.f, true, -2000, 1.0}, {0.25f, 1.5f, false, 0, 0.25},
    };
    for (const Case& c : cases)
    {
        RecordingListener listener;
        auto knob = owned(makeKnob(&listener, c.start, c.zoom));
        const int32 modifiers = c.shift ? kShift : 0;
        CPoint where(18, 18);
        EXPECT_EQ(kMouseEventHandled, knob->onMouseDown(where, CButtonState(kLButton | modifiers)));
        CPoint to(18, 18 + c.dy);
        knob->onMouseMoved(to, CButtonState(kLButton | modifiers));
        knob->onMouseUp(to, CButtonState(kLButton | modifiers));
        EXPECT_NEAR(c.expected, knob->getValue(), 1e-6) << c.start << " " << c.dy << " shift " << c.shift;
        ASSERT_FALSE(listener.log.empty());
        EXPECT_EQ("begin", listener.log.front());
        EXPECT_EQ("end", listener.log.back());
    }
}

TEST(Knob, PressingShiftMidDragContinuesFromWhereTheKnobIs)
{
    RecordingListener listener;
    auto knob = owned(makeKnob(&listener, 0.5f, 10.f));
    CPoint p(18, 100);
    knob->onMouseDown(p, CButtonState(kLButton));
    CPoint up(18, 80); // +0.1
    knob->onMouseMoved(up, CButtonState(kLButton));
    CPoint fine(18, 40); // a further 40 pixels with Shift: +0.02
    knob->onMouseMoved(up, CButtonState(kLButton | kShift));
    knob->onMouseMoved(fine, CButtonState(kLButton | kShift));
    EXPECT_NEAR(0.62, knob->getValue(), 1e-6);
}

TEST(Knob, WheelStepsByTheIncrementAndControlClickResets)
{
    RecordingListener listener;
    auto knob = owned(makeKnob(&listener, 0.5f, 1.5f));
    EXPECT_TRUE(knob->onWheel(CPoint(18, 18), 1.f, CButtonState()));
    EXPECT_NEAR(0.6, knob->getValue(), 1e-6);
    knob->onWheel(CPoint(18, 18), -3.f, CButtonState());
    EXPECT_NEAR(0.3, knob->getValue(), 1e-6);
    knob->onWheel(CPoint(18, 18), 1.f, CButtonState(kShift));
    EXPECT_NEAR(0.31, knob->getValue(), 1e-6);
    knob->onWheel(CPoint(18, 18), -10.f, CButtonState());
    EXPECT_EQ(0.f, knob->getValue());
    listener.log.clear();
    CPoint where(18, 18);
    EXPECT_EQ(kMouseDownEventHandledButDontNeedMovedOrUpEvents,
              knob->onMouseDown(where, CButtonState(kLButton | kControl)));
    EXPECT_EQ(0.75f, knob->getValue());
    EXPECT_EQ((std::vector<std::string>{"begin", "value " + std::to_string(0.75f), "end"}), listener.log);
}

TEST(AnimKnob, ShowsTheFrameNearestTheValue)
{
    auto knob = owned(new CAnimKnob(CRect(0, 0, 36, 36)));
    knob->setNumSubPixmaps(40);
    for (int i = 0; i <= 100; ++i)
    {
        const float v = i / 100.f;
        knob->setValue(v);
        EXPECT_EQ(std::lround(v * 39.0), knob->getFrameIndex()) << v;
        knob->setInverseBitmap(true);
        EXPECT_EQ(std::lround((1 - v) * 39.0), knob->getFrameIndex()) << v;
        knob->setInverseBitmap(false);
    }
}

TEST(OnOffButton, AClickTogglesAsOneEdit)
{
    RecordingListener listener;
    auto button = owned(new COnOffButton(CRect(0, 0, 28, 28), &listener, 5));
    CPoint where(5, 5);
    button->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(1.f, button->getValue());
    button->onMouseDown(where, CButtonState(kLButton));
    EXPECT_EQ(0.f, button->getValue());
    const std::string one = "value " + std::to_string(1.f);
    const std::string zero = "value " + std::to_string(0.f);
    EXPECT_EQ((std::vector<std::string>{"begin", one, "end", "begin", zero, "end"}), listener.log);
    EXPECT_EQ(kMouseEventNotHandled, button->onMouseDown(where, CButtonState(kRButton)));
}

TEST(TextButton, KickStyleReportsPressThenReleaseOnlyWhenReleasedOverIt)
{
    RecordingListener listener;
    auto button = owned(new CTextButton(CRect(0, 0, 80, 20), &listener, 100, "About"));
    CPoint inside(40, 10);
    button->onMouseDown(inside, CButtonState(kLButton));
    EXPECT_EQ(1.f, button->getValue()) << "shown pressed";
    button->onMouseUp(inside, CButtonState(kLButton));
    const std::string one = "value " + std::to_string(1.f);
    const std::string zero = "value " + std::to_string(0.f);
    EXPECT_EQ((std::vector<std::string>{"begin", one, zero, "end"}), listener.log);

    listener.log.clear();
    CPoint outside(200, 10);
    button->onMouseDown(inside, CButtonState(kLButton));
    button->onMouseMoved(outside, CButtonState(kLButton));
    button->onMouseUp(outside, CButtonState(kLButton));
    EXPECT_EQ((std::vector<std::string>{"begin", "end"}), listener.log);
    EXPECT_EQ(0.f, button->getValue());
}

// Hosts run the editor inside their own process, often under a locale whose
// decimal point is a comma; a display without a parameter text must not follow it.
TEST(ParamDisplay, WritesItsValueWithAPointUnderACommaLocale)
{
    TestText::ScopedLocale locale("de_DE.UTF-8");
    if (!locale.isAvailable())
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    auto display = VSTGUI::owned(new CParamDisplay(CRect(0, 0, 30, 20)));
    display->setValue(0.25f);
    EXPECT_EQ("0.25", display->getDisplayedText());
    display->setPrecision(1);
    display->setValue(0.75f);
    EXPECT_EQ("0.8", display->getDisplayedText());
}

} // namespace
