#include "gui/ParameterBinding.h"
#include "gui/controls/CAnimKnob.h"
#include "gui/controls/COnOffButton.h"
#include "gui/controls/CParamDisplay.h"
#include "gui/controls/CTextButton.h"
#include "gui/controls/CTextEdit.h"
#include "tests/params/TextHelpers.h"

#include <gtest/gtest.h>

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

// What the editor's gesture tests leave out: the ends of the range, the fine
// wheel, and the arrow keys of a stepped knob. A change is one edit; a key
// with another modifier than Shift is left to the host.
TEST(Knob, GesturesStopAtTheEndsAndKeysStepByTheStepCount)
{
    enum Gesture
    {
        kDrag,
        kWheel,
        kKey
    };
    struct Case
    {
        const char* what;
        Gesture gesture;
        float start;
        int32 steps;
        float amount;    // pixels down, wheel steps or the virtual key
        int32 modifiers; // kShift for the mouse, MODIFIER_ flags for keys
        float expected;
    };
    const Case cases[] = {
        {"drag past the top", kDrag, 0.9f, 0, -100, 0, 1.f},
        {"drag past the bottom", kDrag, 0.1f, 0, 100, 0, 0.f},
        {"fine drag past the top", kDrag, 0.f, 0, -2000, kShift, 1.f},
        {"fine wheel", kWheel, 0.3f, 0, 1, kShift, 0.31f},
        {"wheel past the bottom", kWheel, 0.3f, 0, -10, 0, 0.f},
        {"Up on four steps", kKey, 0.5f, 4, VKEY_UP, 0, 0.75f},
        {"Shift+Left on four steps: still a step", kKey, 0.5f, 4, VKEY_LEFT, MODIFIER_SHIFT, 0.25f},
        {"Down at the bottom", kKey, 0.f, 0, VKEY_DOWN, 0, 0.f},
        {"Alt+Up", kKey, 0.5f, 0, VKEY_UP, MODIFIER_ALTERNATE, 0.5f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        RecordingListener listener;
        auto knob = owned(makeKnob(&listener, c.start, 10.f));
        knob->setStepCount(c.steps);
        CPoint where(18, 18);
        if (c.gesture == kDrag)
        {
            knob->onMouseDown(where, CButtonState(kLButton | c.modifiers));
            CPoint to(18, 18 + c.amount);
            knob->onMouseMoved(to, CButtonState(kLButton | c.modifiers));
            knob->onMouseUp(to, CButtonState(kLButton | c.modifiers));
        }
        else if (c.gesture == kWheel)
        {
            EXPECT_TRUE(knob->onWheel(where, c.amount, CButtonState(c.modifiers)));
        }
        else
        {
            VstKeyCode key;
            key.virt = static_cast<uint8_t>(c.amount);
            key.modifier = static_cast<uint8_t>(c.modifiers);
            EXPECT_EQ(c.modifiers & MODIFIER_ALTERNATE ? kKeyNotHandled : kKeyHandled, knob->onKeyDown(key));
        }
        EXPECT_NEAR(c.expected, knob->getValue(), 1e-6);
        const std::vector<std::string> edit = {"begin", "value " + std::to_string(knob->getValue()), "end"};
        if (c.gesture != kDrag)
        {
            EXPECT_EQ(c.expected == c.start ? std::vector<std::string>() : edit, listener.log);
        }
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

// The About button reports its press only when let go over it (tested in the
// about box): let go elsewhere, it reports no value at all.
TEST(TextButton, APressLetGoOutsideReportsNoValue)
{
    RecordingListener listener;
    auto button = owned(new CTextButton(CRect(0, 0, 80, 20), &listener, 100, "About"));
    CPoint inside(40, 10), outside(200, 10);
    button->onMouseDown(inside, CButtonState(kLButton));
    EXPECT_EQ(1.f, button->getValue()) << "shown pressed";
    button->onMouseMoved(outside, CButtonState(kLButton));
    button->onMouseUp(outside, CButtonState(kLButton));
    EXPECT_EQ((std::vector<std::string>{"begin", "end"}), listener.log);
    EXPECT_EQ(0.f, button->getValue());
}

// A display its binding lets go of (a new tag, an editor closing) must not
// call into the binding, which may be gone when the display draws again. It
// then writes its own number with a point, though hosts often run the editor
// under a locale whose decimal point is a comma.
TEST(ParamDisplay, LetGoOfByItsBindingShowsItsOwnNumberAndTakesNoText)
{
    TestText::ScopedLocale locale("de_DE.UTF-8");
    if (!locale.isAvailable())
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    struct OneParameter : Steinberg::Vst::EditController
    {
        OneParameter() { parameters.addParameter(STR16("Gain"), nullptr, 0, 0.25, 0, 7); }
    };
    auto* controller = new OneParameter;
    Steinberg::Vst::ParameterInfo info{};
    ASSERT_EQ(Steinberg::kResultOk, controller->getParameterInfo(0, info));
    auto display = owned(new CParamDisplay(CRect(0, 0, 30, 20)));
    {
        ParameterBinding binding(controller, info, false);
        binding.addControl(display);
        EXPECT_EQ(binding.textFor(0.25), display->getDisplayedText());
        EXPECT_TRUE(display->takesTextInput());
        binding.removeControl(display);
    }
    EXPECT_EQ("0.25", display->getDisplayedText());
    EXPECT_FALSE(display->takesTextInput());
    display->setPrecision(1);
    display->setValue(0.75f);
    EXPECT_EQ("0.8", display->getDisplayedText());
    controller->release();
}

VstKeyCode key(uint8_t virt, int32 character = 0, uint8_t modifier = 0)
{
    VstKeyCode code;
    code.virt = virt;
    code.character = character;
    code.modifier = modifier;
    return code;
}
VstKeyCode typed(int32 character, uint8_t modifier = 0)
{
    return key(0, character, modifier);
}

// The text field over a value display: what the keys do to its text (whole
// UTF-8 characters at a time) and how it closes, once.
TEST(TextEdit, KeysEditTheTextAndEnterOrEscapeCloseIt)
{
    enum Closed
    {
        kOpen,
        kCommitted,
        kCancelled
    };
    struct Case
    {
        const char* what;
        const char* start;
        std::vector<VstKeyCode> keys;
        std::string text;
        Closed closed;
    };
    const Case cases[] = {
        {"a character replaces the selection", "-6.0", {typed('1')}, "1", kOpen},
        {"Left ends the selection at the start", "-6.0", {key(VKEY_LEFT), typed('1')}, "1-6.0", kOpen},
        {"End and Backspace", "-6.0", {key(VKEY_END), key(VKEY_BACK), key(VKEY_BACK), typed('5')}, "-65", kOpen},
        {"Home and Delete", "ab", {key(VKEY_HOME), key(VKEY_DELETE)}, "b", kOpen},
        {"Backspace takes a two-byte character", "1\xC2\xB5", {key(VKEY_END), key(VKEY_BACK)}, "1", kOpen},
        {"Left over a three-byte character",
         "\xE2\x82\xAC"
         "5",
         {key(VKEY_RIGHT), key(VKEY_LEFT), key(VKEY_LEFT), key(VKEY_DELETE)},
         "5",
         kOpen},
        {"a character beyond 16 bits", "", {typed(0x1F600)}, "\xF0\x9F\x98\x80", kOpen},
        {"controls, surrogates and non-characters",
         "7",
         {key(VKEY_END), typed(1), typed(0xD800), typed(0x110000)},
         "7",
         kOpen},
        {"at most 32 characters", "", std::vector<VstKeyCode>(40, typed('9')), std::string(32, '9'), kOpen},
        {"Control shortcuts are the host's", "ab", {typed('s', MODIFIER_CONTROL)}, "ab", kOpen},
        {"Enter", "-6.0", {typed('3'), key(VKEY_RETURN)}, "3", kCommitted},
        {"keypad Enter, then nothing more", "1", {key(VKEY_ENTER), typed('2'), key(VKEY_ESCAPE)}, "1", kCommitted},
        {"Escape", "-6.0", {typed('3'), key(VKEY_ESCAPE)}, "3", kCancelled},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<std::string> closes;
        auto field = owned(new CTextEdit(CRect(0, 0, 44, 20), c.start,
                                         [&](const std::string* committed)
                                         { closes.push_back(committed ? "commit " + *committed : "cancel"); }));
        for (VstKeyCode k : c.keys)
            field->onKeyDown(k);
        EXPECT_EQ(c.text, field->getDisplayedText());
        const std::vector<std::string> expected = {c.closed == kCommitted ? "commit " + c.text : "cancel"};
        EXPECT_EQ(c.closed == kOpen ? std::vector<std::string>() : expected, closes);
    }
}

} // namespace
