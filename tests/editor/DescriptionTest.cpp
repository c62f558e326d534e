// The editor description against the editor's layout as designed: every
// view, tag, colour and font, checked through the description reader and the
// standard view creators.

#include "gui/CViewContainer.h"
#include "gui/IController.h"
#include "gui/UIDescription.h"
#include "gui/controls/CAnimKnob.h"
#include "gui/controls/COnOffButton.h"
#include "gui/controls/COptionMenu.h"
#include "gui/controls/CTextButton.h"
#include "gui/controls/CTextLabel.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

constexpr double kDegree = M_PI / 180;

// Records what the description asks of its controller; makes no views.
class RecordingController : public IController
{
public:
    void valueChanged(CControl*) override {}
    CView* createView(const UIAttributes& attributes, const IUIDescription*) override
    {
        customViews.push_back(*attributes.getAttributeValue("custom-view-name"));
        return nullptr;
    }
    IController* createSubController(UTF8StringPtr name, const IUIDescription*) override
    {
        subControllers.push_back(name);
        return nullptr;
    }
    std::vector<std::string> customViews;
    std::vector<std::string> subControllers;
};

class DescriptionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        description = owned(new UIDescription(KALVIOR_EDITOR_DESCRIPTION));
        ASSERT_TRUE(description->parse());
        editor = owned(dynamic_cast<CViewContainer*>(description->createView("view", &controller)));
        ASSERT_TRUE(editor);
    }

    // The child of the editor at origin whose class is T (there may be a display and a knob with one tag).
    template <class T>
    T* viewAt(double x, double y, const CViewContainer* in = nullptr) const
    {
        const CViewContainer* container = in ? in : editor.get();
        for (int32 i = 0; i < container->getNbViews(); ++i)
        {
            auto* v = dynamic_cast<T*>(container->getView(i));
            if (v && v->getViewSize().left == x && v->getViewSize().top == y)
                return v;
        }
        return nullptr;
    }

    static CColor color(unsigned rgba)
    {
        return CColor(rgba >> 24, (rgba >> 16) & 0xff, (rgba >> 8) & 0xff, rgba & 0xff);
    }

    RecordingController controller;
    SharedPointer<UIDescription> description;
    SharedPointer<CViewContainer> editor;
};

TEST_F(DescriptionTest, ControlTagsAreTheParameterIDs)
{
    const char* names[] = {"ProgSel",        "Bypass",       "Scope",         "Left Gain", "Right Gain", "Mute Left",
                           "Mute Right",     "Invert Left",  "Invert Right",  "Left Pan",  "Right Pan",  "Balance",
                           "Asymmetry",      "Asymm Crush",  "HP Gain",       "HP Width",  "HP Pan",     "Pan Law",
                           "Pan Crush",      "Gain Trim",    "LP Gain",       "LP Width",  "LP Pan",     "Crossover",
                           "Crossover Freq", "Input Format", "Output Format", "Solo",      "Mono"};
    std::map<std::string, int32> expected;
    for (int32 id = 0; id < 29; ++id)
        expected[names[id]] = id;
    expected["CreateModalView"] = 100;
    expected["CloseModalView"] = 101;
    EXPECT_EQ(expected, description->getControlTags());
}

TEST_F(DescriptionTest, ColoursFontsAndEditorAttributes)
{
    const std::pair<const char*, unsigned> colours[] = {{"CtrlGreen", 0x1acc00ff}, {"LtBlue", 0x80b0ffff}};
    for (const auto& c : colours)
    {
        CColor value;
        ASSERT_TRUE(description->getColor(c.first, value)) << c.first;
        EXPECT_EQ(color(c.second), value) << c.first;
    }
    CFontRef bold = description->getFont("BoldSystemFont");
    ASSERT_NE(nullptr, bold);
    EXPECT_EQ("Arial", bold->getName());
    EXPECT_EQ(12, bold->getSize());
    EXPECT_EQ(kBoldFace, bold->getStyle());
    EXPECT_EQ("Liberation Sans", bold->getPlatformFamily()) << "Arial's metric twin on Debian";
    EXPECT_EQ(kSystemFont, description->getFont("~ SystemFont"));

    const UIAttributes* custom = description->getCustomAttributes("VST3Editor");
    ASSERT_NE(nullptr, custom);
    bool focus = true;
    double width = 0;
    EXPECT_TRUE(custom->getBooleanAttribute("frame-enable-focus-drawing", focus));
    EXPECT_FALSE(focus);
    EXPECT_TRUE(custom->getDoubleAttribute("frame-focus-width", width));
    EXPECT_EQ(2, width);

    EXPECT_EQ((std::vector<std::string>{"view", "ModalView"}), description->getTemplateNames());
    CPoint size;
    ASSERT_TRUE(description->getViewAttributes("view")->getPointAttribute("size", size));
    EXPECT_EQ(CPoint(375, 495), size);
    EXPECT_TRUE(editor->getTransparency());
    EXPECT_EQ(kTransparentCColor, editor->getBackgroundColor());
}

// Every control of the editor: its class, where it sits and the parameter it
// controls, with its default; nothing else in the editor but these and the
// nine unit labels.
TEST_F(DescriptionTest, EveryControlSitsWhereDesignedWithItsParameter)
{
    struct Control
    {
        const char* type;
        int tag;
        double x, y, w, h;
        float defaultValue;
    };
    const Control controls[] = {
        {"CAnimKnob", 3, 65, 140, 36, 36, .75f},
        {"CAnimKnob", 4, 110, 140, 36, 36, .75f},
        {"CAnimKnob", 9, 65, 185, 36, 36, 0},
        {"CAnimKnob", 10, 110, 185, 36, 36, 1},
        {"CAnimKnob", 11, 20, 255, 36, 36, .5f},
        {"CAnimKnob", 12, 65, 255, 36, 36, .5f},
        {"CAnimKnob", 13, 110, 255, 36, 36, .3f},
        {"CAnimKnob", 19, 210, 255, 36, 36, .5f},
        {"CAnimKnob", 14, 150, 335, 36, 36, .75f},
        {"CAnimKnob", 15, 195, 335, 36, 36, .5f},
        {"CAnimKnob", 16, 240, 335, 36, 36, .5f},
        {"CAnimKnob", 18, 320, 335, 36, 36, .3f},
        {"CAnimKnob", 24, 80, 370, 36, 36, 0},
        {"CAnimKnob", 20, 150, 390, 36, 36, .75f},
        {"CAnimKnob", 21, 195, 390, 36, 36, .5f},
        {"CAnimKnob", 22, 240, 390, 36, 36, .5f},
        {"CAnimKnob", 17, 320, 390, 36, 36, .5f},
        {"COnOffButton", 5, 68, 71, 28, 28, 0},
        {"COnOffButton", 6, 113, 71, 28, 28, 0},
        {"COnOffButton", 7, 68, 105, 28, 28, 0},
        {"COnOffButton", 8, 113, 105, 28, 28, 0},
        {"COnOffButton", 28, 323, 270, 28, 28, 0},
        {"COnOffButton", 2, 335, 15, 28, 28, 1},
        // the scope: the recording controller declines the custom view, the description's class stands in
        {"COnOffButton", 2, 180, 55, 170, 170, 1},
        {"COptionMenu", 25, 40, 10, 35, 20, 0},
        {"COptionMenu", 26, 125, 10, 35, 20, 0},
        {"COptionMenu", 27, 254, 275, 55, 20, 0},
        {"COptionMenu", 23, 30, 375, 35, 20, 0},
        {"CParamDisplay", 3, 55, 168, 30, 20, .75f},
        {"CParamDisplay", 4, 100, 168, 30, 20, .75f},
        {"CParamDisplay", 9, 70, 215, 20, 20, 0},
        {"CParamDisplay", 10, 115, 215, 20, 20, 1},
        {"CParamDisplay", 11, 30, 285, 20, 20, .5f},
        {"CParamDisplay", 12, 75, 285, 20, 20, .5f},
        {"CParamDisplay", 13, 110, 285, 20, 20, .3f},
        {"CParamDisplay", 19, 210, 285, 20, 20, .5f},
        {"CParamDisplay", 14, 145, 365, 25, 20, .75f},
        {"CParamDisplay", 15, 200, 365, 25, 20, .5f},
        {"CParamDisplay", 16, 250, 365, 20, 20, .5f},
        {"CParamDisplay", 18, 320, 365, 20, 20, .3f},
        {"CParamDisplay", 24, 70, 400, 30, 20, 0},
        {"CParamDisplay", 20, 145, 420, 25, 20, .75f},
        {"CParamDisplay", 21, 200, 420, 25, 20, .5f},
        {"CParamDisplay", 22, 250, 420, 20, 20, .5f},
        {"CParamDisplay", 17, 315, 420, 20, 20, .5f},
        {"CTextButton", 100, 285, 450, 80, 20, 0},
    };
    EXPECT_EQ(static_cast<int32>(std::size(controls)) + 9, editor->getNbViews());
    for (const Control& c : controls)
    {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.tag << " at " << c.x << "," << c.y);
        CControl* control = nullptr;
        for (int32 i = 0; i < editor->getNbViews() && !control; ++i)
        {
            auto* v = dynamic_cast<CControl*>(editor->getView(i));
            if (v && v->getViewSize() == CRect(c.x, c.y, c.x + c.w, c.y + c.h) && v->isTypeOf(c.type) &&
                (std::string(c.type) != "CParamDisplay" || !v->isTypeOf("COptionMenu")))
                control = v;
        }
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.tag, control->getTag());
        if (c.tag == 100)
            continue; // the About button: a kick button of the box's sub-controller
        EXPECT_EQ(c.defaultValue, control->getDefaultValue());
        EXPECT_EQ(0.f, control->getMin());
        EXPECT_EQ(std::string(c.type) == "COptionMenu" && c.y > 100 ? 2.f : 1.f, control->getMax());
        EXPECT_EQ(&controller, control->getListener());
    }
    EXPECT_EQ((std::vector<std::string>{"ScopeView"}), controller.customViews);
    EXPECT_EQ((std::vector<std::string>{"ModalViewController"}), controller.subControllers);
}

// The knob styles, one knob of each kind.
TEST_F(DescriptionTest, KnobStyles)
{
    struct Knob
    {
        double x, y;
        bool corona, fromCentre;
        double inset;
        bool outline;
        double handleWidth, valueInset, zoom;
        bool circle;
    };
    const Knob knobs[] = {
        {65, 140, true, false, 4, true, 2, 3, 1.5, false},   // Left Gain
        {65, 185, true, true, 4, true, 2, 3, 1.5, false},    // Left Pan
        {20, 255, false, false, 0, false, 1, 3, 10, false},  // Balance
        {110, 255, true, false, 3, true, 2, 3, 1.5, false},  // Asymm Crush
        {150, 335, true, false, 2, true, 1, 5, 1.5, true},   // HP Gain
        {240, 335, false, false, 0, false, 1, 0, 10, false}, // HP Pan
    };
    for (const Knob& k : knobs)
    {
        SCOPED_TRACE(testing::Message() << k.x << "," << k.y);
        CAnimKnob* knob = viewAt<CAnimKnob>(k.x, k.y);
        ASSERT_NE(nullptr, knob);
        EXPECT_EQ(40, knob->getNumSubPixmaps());
        EXPECT_EQ(36, knob->getHeightOfOneImage());
        EXPECT_NEAR(135 * kDegree, knob->getStartAngle(), 1e-6);
        EXPECT_NEAR(270 * kDegree, knob->getRangeAngle(), 1e-6);
        EXPECT_FLOAT_EQ(0.1f, knob->getWheelInc());
        const int32 style = knob->getDrawStyle();
        EXPECT_EQ(k.corona, (style & CKnob::kCoronaDrawing) != 0);
        EXPECT_EQ(k.fromCentre, (style & CKnob::kCoronaFromCenter) != 0);
        EXPECT_EQ(k.outline, (style & CKnob::kCoronaOutline) != 0);
        EXPECT_EQ(k.circle, (style & CKnob::kHandleCircleDrawing) != 0);
        EXPECT_EQ(0, style & (CKnob::kCoronaInverted | CKnob::kCoronaLineDashDot));
        EXPECT_EQ(k.inset, knob->getCoronaInset());
        EXPECT_EQ(k.handleWidth, knob->getHandleLineWidth());
        EXPECT_EQ(k.valueInset, knob->getInsetValue());
        EXPECT_FLOAT_EQ(static_cast<float>(k.zoom), knob->getZoomFactor());
        EXPECT_EQ(kWhiteCColor, knob->getCoronaColor());
        EXPECT_EQ(kGreyCColor, knob->getColorShadowHandle());
    }
}

// Texts: the menus, a value display, the frameless frequency display and its
// unit, a unit label and the About button.
TEST_F(DescriptionTest, TextStyles)
{
    COptionMenu* menu = viewAt<COptionMenu>(254, 275);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(color(0x1acc00ff), menu->getFontColor());
    EXPECT_EQ(kBlackCColor, menu->getBackColor());
    EXPECT_EQ(kCenterText, menu->getHoriAlign());
    EXPECT_TRUE(menu->getStyle() & COptionMenu::kCheckStyle);
    EXPECT_FALSE(menu->getStyle() & COptionMenu::kPopupStyle);
    EXPECT_TRUE(menu->getTransparency());

    for (double x : {145.0, 200.0})
    {
        auto* display = viewAt<CParamDisplay>(x, 365);
        ASSERT_NE(nullptr, display);
        EXPECT_EQ(x == 145 ? kRightText : kCenterText, display->getHoriAlign());
        EXPECT_EQ(kWhiteCColor, display->getFontColor());
        EXPECT_EQ(kRedCColor, display->getShadowColor());
        EXPECT_TRUE(display->getAntialias());
        EXPECT_EQ(0, display->getStyle() & (CParamDisplay::k3DIn | CParamDisplay::k3DOut | CParamDisplay::kNoFrame));
        EXPECT_TRUE(display->getTransparency());
    }
    const std::pair<double, double> frameless[] = {{70, 400}, {100, 400}}; // frequency and its "Hz"
    for (const auto& [x, y] : frameless)
    {
        auto* display = viewAt<CParamDisplay>(x, y);
        ASSERT_NE(nullptr, display);
        EXPECT_EQ(kTransparentCColor, display->getBackColor());
        EXPECT_NE(0, display->getStyle() & CParamDisplay::kNoFrame);
        EXPECT_FALSE(display->getTransparency());
    }
    const std::pair<double, const char*> units[] = {{85, "dB"}, {127, "%"}};
    for (const auto& [x, text] : units)
    {
        CTextLabel* label = viewAt<CTextLabel>(x, x == 85 ? 168 : 285);
        ASSERT_NE(nullptr, label);
        EXPECT_STREQ(text, label->getText());
        EXPECT_EQ(kCenterText, label->getHoriAlign());
        EXPECT_EQ(kBlackCColor, label->getBackColor());
    }

    CTextButton* about = viewAt<CTextButton>(285, 450);
    ASSERT_NE(nullptr, about);
    EXPECT_STREQ("About", about->getTitle());
    EXPECT_EQ(6, about->getRoundRadius());
    EXPECT_EQ(1, about->getFrameWidth());
    EXPECT_EQ(color(0xdcdcdcff), about->getGradientStartColor());
    EXPECT_EQ(color(0x646464ff), about->getGradientEndColorHighlighted());
    EXPECT_EQ(kWhiteCColor, about->getTextColorHighlighted());
    EXPECT_EQ(CTextButton::kKickStyle, about->getStyle());
}

TEST_F(DescriptionTest, TheAboutBoxTemplate)
{
    RecordingController boxController;
    auto box = owned(dynamic_cast<CViewContainer*>(description->createView("ModalView", &boxController)));
    ASSERT_TRUE(box);
    EXPECT_EQ(CRect(0, 0, 355, 475), box->getViewSize());
    EXPECT_EQ(color(0xffffffc7), box->getBackgroundColor());
    ASSERT_EQ(1, box->getNbViews());
    auto* picture = dynamic_cast<CViewContainer*>(box->getView(0));
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(CRect(20, 15, 339, 454), picture->getViewSize());

    CTextButton* close = viewAt<CTextButton>(210, 395, picture);
    ASSERT_NE(nullptr, close);
    EXPECT_STREQ("Close", close->getTitle());
    EXPECT_EQ(101, close->getTag());

    EXPECT_EQ((std::vector<std::string>{"VersionDescriptor", "HostDescriptor1", "HostDescriptor2", "HostDescriptor3"}),
              boxController.customViews);
    for (double y : {110.0, 210.0, 225.0, 240.0})
    {
        CTextLabel* line = viewAt<CTextLabel>(35, y, picture);
        ASSERT_NE(nullptr, line) << y;
        EXPECT_EQ(CRect(35, y, 285, y + 20), line->getViewSize());
        EXPECT_EQ(description->getFont("BoldSystemFont"), line->getFont());
        EXPECT_STREQ("", line->getText()) << "an empty label when the hook declines";
    }
}

TEST(Description, NumbersReadTheSameInAnyLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    UIAttributes attributes;
    attributes.setAttribute("zoom", "1.5");
    attributes.setAttribute("origin", "65, 140");
    double zoom = 0;
    CPoint origin;
    EXPECT_TRUE(attributes.getDoubleAttribute("zoom", zoom));
    EXPECT_EQ(1.5, zoom);
    EXPECT_TRUE(attributes.getPointAttribute("origin", origin));
    EXPECT_EQ(CPoint(65, 140), origin);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Description, MalformedInputIsRefused)
{
    const char* texts[] = {
        "",
        "not xml at all",
        "<vstgui-ui-description version=\"1\">",  // unterminated
        "<other-root version=\"1\"/>",            // wrong root
        "<vstgui-ui-description version=\"2\"/>", // unknown version
        "<vstgui-ui-description/>",               // no version
    };
    for (const char* text : texts)
    {
        auto description = owned(new UIDescription("unused"));
        EXPECT_FALSE(description->parseText(text, ".")) << text;
        EXPECT_EQ(nullptr, description->createView("view", nullptr));
    }
    EXPECT_FALSE(owned(new UIDescription("/no/such/file.uidesc"))->parse());

    UIAttributes a;
    for (const char* bad : {"", "x", "1.5.2", "1e999", "nan", " 3 4"})
    {
        a.setAttribute("v", bad);
        double v = 7;
        EXPECT_FALSE(a.getDoubleAttribute("v", v)) << bad;
        EXPECT_EQ(7, v);
    }
    for (const char* bad : {"1", "1,", ",2", "a, b"})
    {
        a.setAttribute("p", bad);
        CPoint p(9, 9);
        EXPECT_FALSE(a.getPointAttribute("p", p)) << bad;
    }
}

TEST(Description, AnUnknownClassOrTemplateMakesNoView)
{
    auto description = owned(new UIDescription("unused"));
    ASSERT_TRUE(description->parseText(R"(<vstgui-ui-description version="1">
        <template name="t" class="CViewContainer" origin="0, 0" size="10, 10">
            <view class="NoSuchView" origin="0, 0" size="5, 5"/>
            <view class="CView" origin="1, 2" size="3, 4"/>
        </template></vstgui-ui-description>)",
                                       "."));
    auto view = owned(dynamic_cast<CViewContainer*>(description->createView("t", nullptr)));
    ASSERT_TRUE(view);
    ASSERT_EQ(1, view->getNbViews());
    EXPECT_EQ(CRect(1, 2, 4, 6), view->getView(0)->getViewSize());
    EXPECT_EQ(nullptr, description->createView("missing", nullptr));
    EXPECT_EQ(nullptr, description->getBitmap("nothing"));
}

} // namespace
