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

    template <class T>
    int count() const
    {
        int n = 0;
        for (int32 i = 0; i < editor->getNbViews(); ++i)
            n += dynamic_cast<T*>(editor->getView(i)) != nullptr;
        return n;
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
    const char* names[] = {"ProgSel",      "Bypass",       "Scope",       "Left Gain",      "Right Gain",
                           "Mute Left",    "Mute Right",   "Invert Left", "Invert Right",   "Left Pan",
                           "Right Pan",    "Balance",      "Asymmetry",   "Asymm Crush",    "HP Gain",
                           "HP Width",     "HP Pan",       "Pan Law",     "Pan Crush",      "Gain Trim",
                           "LP Gain",      "LP Width",     "LP Pan",      "Crossover",      "Crossover Freq",
                           "Input Format", "Output Format", "Solo",       "Mono"};
    std::map<std::string, int32> expected;
    for (int32 id = 0; id < 29; ++id)
        expected[names[id]] = id;
    expected["CreateModalView"] = 100;
    expected["CloseModalView"] = 101;
    EXPECT_EQ(expected, description->getControlTags());
}

TEST_F(DescriptionTest, ColoursFontsAndEditorAttributes)
{
    const std::pair<const char*, unsigned> colours[] = {
        {"CtrlGreen", 0x1acc00ff}, {"LtBlue", 0x80b0ffff}, {"modal background", 0xffffffc7}};
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

TEST_F(DescriptionTest, SeventeenAnimatedKnobs)
{
    struct Knob
    {
        int tag;
        double x, y;
        double defaultValue;
        bool corona, fromCentre;
        double inset;
        bool outline;
        double handleWidth, valueInset, zoom;
        bool circle;
    };
    const Knob knobs[] = {
        {3, 65, 140, 0.75, true, false, 4, true, 2, 3, 1.5, false},
        {4, 110, 140, 0.75, true, false, 4, true, 2, 3, 1.5, false},
        {9, 65, 185, 0, true, true, 4, true, 2, 3, 1.5, false},
        {10, 110, 185, 1, true, true, 4, true, 2, 3, 1.5, false},
        {11, 20, 255, 0.5, false, false, 0, false, 1, 3, 10, false},
        {12, 65, 255, 0.5, true, true, 4, true, 2, 3, 1.5, false},
        {13, 110, 255, 0.3, true, false, 3, true, 2, 3, 1.5, false},
        {19, 210, 255, 0.5, false, false, 0, false, 1, 3, 1.5, false},
        {14, 150, 335, 0.75, true, false, 2, true, 1, 5, 1.5, true},
        {15, 195, 335, 0.5, true, false, 2, true, 1, 5, 1.5, true},
        {16, 240, 335, 0.5, false, false, 0, false, 1, 0, 10, false},
        {18, 320, 335, 0.3, true, false, 3, true, 2, 3, 1.5, false},
        {24, 80, 370, 0, true, false, 2, true, 2, 3, 1.5, false},
        {20, 150, 390, 0.75, true, false, 2, true, 1, 5, 1.5, true},
        {21, 195, 390, 0.5, true, false, 2, true, 1, 5, 1.5, true},
        {22, 240, 390, 0.5, false, false, 0, false, 1, 3, 10, false},
        {17, 320, 390, 0.5, true, false, 3, true, 2, 3, 1.5, false},
    };
    EXPECT_EQ(17, count<CAnimKnob>());
    for (const Knob& k : knobs)
    {
        SCOPED_TRACE(k.tag);
        CAnimKnob* knob = viewAt<CAnimKnob>(k.x, k.y);
        ASSERT_NE(nullptr, knob);
        EXPECT_EQ(k.tag, knob->getTag());
        EXPECT_EQ(&controller, knob->getListener());
        EXPECT_EQ(CRect(k.x, k.y, k.x + 36, k.y + 36), knob->getViewSize());
        EXPECT_EQ(40, knob->getNumSubPixmaps());
        EXPECT_EQ(36, knob->getHeightOfOneImage());
        EXPECT_NEAR(135 * kDegree, knob->getStartAngle(), 1e-6);
        EXPECT_NEAR(270 * kDegree, knob->getRangeAngle(), 1e-6);
        EXPECT_EQ(0.f, knob->getMin());
        EXPECT_EQ(1.f, knob->getMax());
        EXPECT_FLOAT_EQ(0.1f, knob->getWheelInc());
        EXPECT_FLOAT_EQ(static_cast<float>(k.defaultValue), knob->getDefaultValue());
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
        EXPECT_EQ(kWhiteCColor, knob->getColorHandle());
        EXPECT_EQ(kGreyCColor, knob->getColorShadowHandle());
        EXPECT_FALSE(knob->getTransparency());
    }
}

TEST_F(DescriptionTest, OnOffButtonsAndTheScopeView)
{
    struct Button
    {
        int tag;
        double x, y, w, h;
        float defaultValue;
    };
    const Button buttons[] = {{5, 68, 71, 28, 28, 0},  {6, 113, 71, 28, 28, 0},  {7, 68, 105, 28, 28, 0},
                              {8, 113, 105, 28, 28, 0}, {28, 323, 270, 28, 28, 0}, {2, 335, 15, 28, 28, 1},
                              {2, 180, 55, 170, 170, 1}};
    // The recording controller declines the custom scope view: the description's class stands in.
    EXPECT_EQ(7, count<COnOffButton>());
    for (const Button& b : buttons)
    {
        SCOPED_TRACE(testing::Message() << b.x << "," << b.y);
        COnOffButton* button = viewAt<COnOffButton>(b.x, b.y);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(b.tag, button->getTag());
        EXPECT_EQ(CRect(b.x, b.y, b.x + b.w, b.y + b.h), button->getViewSize());
        EXPECT_EQ(b.defaultValue, button->getDefaultValue());
        EXPECT_EQ(0.f, button->getMin());
        EXPECT_EQ(1.f, button->getMax());
        EXPECT_FALSE(button->getTransparency());
    }
    EXPECT_EQ((std::vector<std::string>{"ScopeView"}), controller.customViews);
}

TEST_F(DescriptionTest, OptionMenus)
{
    struct Menu
    {
        int tag;
        double x, y, w, h;
        float max;
    };
    const Menu menus[] = {{25, 40, 10, 35, 20, 1}, {26, 125, 10, 35, 20, 1}, {27, 254, 275, 55, 20, 2},
                          {23, 30, 375, 35, 20, 2}};
    EXPECT_EQ(4, count<COptionMenu>());
    for (const Menu& m : menus)
    {
        SCOPED_TRACE(m.tag);
        COptionMenu* menu = viewAt<COptionMenu>(m.x, m.y);
        ASSERT_NE(nullptr, menu);
        EXPECT_EQ(m.tag, menu->getTag());
        EXPECT_EQ(CRect(m.x, m.y, m.x + m.w, m.y + m.h), menu->getViewSize());
        EXPECT_EQ(m.max, menu->getMax());
        EXPECT_EQ(0.f, menu->getMin());
        EXPECT_EQ(0.f, menu->getDefaultValue());
        EXPECT_EQ(color(0x1acc00ff), menu->getFontColor());
        EXPECT_EQ(kBlackCColor, menu->getBackColor());
        EXPECT_EQ(kBlackCColor, menu->getFrameColor());
        EXPECT_EQ(kCenterText, menu->getHoriAlign());
        EXPECT_EQ(kSystemFont, menu->getFont());
        EXPECT_TRUE(menu->getStyle() & COptionMenu::kCheckStyle);
        EXPECT_FALSE(menu->getStyle() & COptionMenu::kPopupStyle);
        EXPECT_TRUE(menu->getTransparency());
    }
}

TEST_F(DescriptionTest, ValueDisplays)
{
    struct Display
    {
        int tag;
        double x, y, w, h;
        CHoriTxtAlign align;
        float defaultValue;
    };
    const Display displays[] = {
        {3, 55, 168, 30, 20, kRightText, 0.75f},   {4, 100, 168, 30, 20, kRightText, 0.75f},
        {9, 70, 215, 20, 20, kRightText, 0},       {10, 115, 215, 20, 20, kRightText, 1},
        {11, 30, 285, 20, 20, kCenterText, 0.5f},  {12, 75, 285, 20, 20, kCenterText, 0.5f},
        {13, 110, 285, 20, 20, kRightText, 0.3f},  {19, 210, 285, 20, 20, kRightText, 0.5f},
        {14, 145, 365, 25, 20, kRightText, 0.75f}, {15, 200, 365, 25, 20, kCenterText, 0.5f},
        {16, 250, 365, 20, 20, kCenterText, 0.5f}, {18, 320, 365, 20, 20, kRightText, 0.3f},
        {24, 70, 400, 30, 20, kRightText, 0},      {20, 145, 420, 25, 20, kRightText, 0.75f},
        {21, 200, 420, 25, 20, kCenterText, 0.5f}, {22, 250, 420, 20, 20, kCenterText, 0.5f},
        {17, 315, 420, 20, 20, kRightText, 0.5f},
    };
    for (const Display& d : displays)
    {
        SCOPED_TRACE(d.tag);
        CParamDisplay* display = nullptr;
        for (int32 i = 0; i < editor->getNbViews() && !display; ++i)
        {
            auto* v = dynamic_cast<CParamDisplay*>(editor->getView(i));
            if (v && v->isTypeOf("CParamDisplay") && !v->isTypeOf("CTextLabel") && !v->isTypeOf("COptionMenu") &&
                v->getViewSize() == CRect(d.x, d.y, d.x + d.w, d.y + d.h))
                display = v;
        }
        ASSERT_NE(nullptr, display);
        EXPECT_EQ(d.tag, display->getTag());
        EXPECT_EQ(d.align, display->getHoriAlign());
        EXPECT_EQ(d.defaultValue, display->getDefaultValue());
        EXPECT_EQ(kWhiteCColor, display->getFontColor());
        EXPECT_EQ(kBlackCColor, display->getFrameColor());
        EXPECT_EQ(kRedCColor, display->getShadowColor());
        EXPECT_TRUE(display->getAntialias());
        EXPECT_EQ(0, display->getStyle() & (CParamDisplay::k3DIn | CParamDisplay::k3DOut));
        const bool frequency = d.tag == 24;
        EXPECT_EQ(frequency ? kTransparentCColor : kBlackCColor, display->getBackColor());
        EXPECT_EQ(frequency, (display->getStyle() & CParamDisplay::kNoFrame) != 0);
        EXPECT_EQ(!frequency, display->getTransparency());
    }
}

TEST_F(DescriptionTest, UnitLabelsAndTheAboutButton)
{
    struct Label
    {
        const char* text;
        double x, y;
    };
    const Label labels[] = {{"dB", 85, 168},  {"dB", 130, 168}, {"dB", 230, 285}, {"dB", 170, 365}, {"dB", 170, 420},
                            {"dB", 335, 420}, {"%", 127, 285},  {"%", 337, 365},  {"Hz", 100, 400}};
    EXPECT_EQ(9, count<CTextLabel>());
    for (const Label& l : labels)
    {
        SCOPED_TRACE(testing::Message() << l.text << " " << l.x << "," << l.y);
        CTextLabel* label = viewAt<CTextLabel>(l.x, l.y);
        ASSERT_NE(nullptr, label);
        EXPECT_STREQ(l.text, label->getText());
        EXPECT_EQ(CRect(l.x, l.y, l.x + 20, l.y + 20), label->getViewSize());
        EXPECT_EQ(kCenterText, label->getHoriAlign());
        EXPECT_EQ(kWhiteCColor, label->getFontColor());
        const bool hertz = std::string(l.text) == "Hz";
        EXPECT_EQ(hertz ? kTransparentCColor : kBlackCColor, label->getBackColor());
        EXPECT_EQ(!hertz, label->getTransparency());
        EXPECT_EQ(hertz, (label->getStyle() & CParamDisplay::kNoFrame) != 0);
    }

    CTextButton* about = viewAt<CTextButton>(285, 450);
    ASSERT_NE(nullptr, about);
    EXPECT_STREQ("About", about->getTitle());
    EXPECT_EQ(CRect(285, 450, 365, 470), about->getViewSize());
    EXPECT_EQ(100, about->getTag());
    EXPECT_EQ(6, about->getRoundRadius());
    EXPECT_EQ(1, about->getFrameWidth());
    EXPECT_EQ(kBlackCColor, about->getFrameColor());
    EXPECT_EQ(kBlackCColor, about->getFrameColorHighlighted());
    EXPECT_EQ(color(0xdcdcdcff), about->getGradientStartColor());
    EXPECT_EQ(color(0xb4b4b4ff), about->getGradientEndColor());
    EXPECT_EQ(color(0xb4b4b4ff), about->getGradientStartColorHighlighted());
    EXPECT_EQ(color(0x646464ff), about->getGradientEndColorHighlighted());
    EXPECT_EQ(kBlackCColor, about->getTextColor());
    EXPECT_EQ(kWhiteCColor, about->getTextColorHighlighted());
    EXPECT_EQ(CTextButton::kKickStyle, about->getStyle());
    EXPECT_EQ((std::vector<std::string>{"ModalViewController"}), controller.subControllers);
}

TEST_F(DescriptionTest, TheAboutBoxTemplate)
{
    RecordingController boxController;
    auto box = owned(dynamic_cast<CViewContainer*>(description->createView("ModalView", &boxController)));
    ASSERT_TRUE(box);
    EXPECT_EQ(CRect(0, 0, 355, 475), box->getViewSize());
    CColor modal;
    ASSERT_TRUE(description->getColor("modal background", modal));
    EXPECT_EQ(modal, box->getBackgroundColor());
    EXPECT_FALSE(box->getTransparency());
    ASSERT_EQ(1, box->getNbViews());
    auto* picture = dynamic_cast<CViewContainer*>(box->getView(0));
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(CRect(20, 15, 339, 454), picture->getViewSize());
    EXPECT_EQ(kBlackCColor, picture->getBackgroundColor());
    EXPECT_FALSE(picture->getTransparency());

    CTextButton* close = viewAt<CTextButton>(210, 395, picture);
    ASSERT_NE(nullptr, close);
    EXPECT_STREQ("Close", close->getTitle());
    EXPECT_EQ(101, close->getTag());
    EXPECT_EQ(color(0xdcdcdcff), close->getGradientStartColor());

    EXPECT_EQ((std::vector<std::string>{"VersionDescriptor", "HostDescriptor1", "HostDescriptor2", "HostDescriptor3"}),
              boxController.customViews);
    for (double y : {110.0, 210.0, 225.0, 240.0})
    {
        CTextLabel* line = viewAt<CTextLabel>(35, y, picture);
        ASSERT_NE(nullptr, line) << y;
        EXPECT_EQ(CRect(35, y, 285, y + 20), line->getViewSize());
        EXPECT_EQ(description->getFont("BoldSystemFont"), line->getFont());
        EXPECT_EQ(kWhiteCColor, line->getFontColor());
        EXPECT_EQ(kBlackCColor, line->getBackColor());
        EXPECT_EQ(0, line->getStyle() & CParamDisplay::kNoFrame);
        EXPECT_EQ(kCenterText, line->getHoriAlign());
        EXPECT_TRUE(line->getTransparency());
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
        "<vstgui-ui-description version=\"1\">",                            // unterminated
        "<other-root version=\"1\"/>",                                      // wrong root
        "<vstgui-ui-description version=\"2\"/>",                           // unknown version
        "<vstgui-ui-description/>",                                         // no version
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
