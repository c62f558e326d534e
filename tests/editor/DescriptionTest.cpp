// The editor description: its controls bound to the parameters, read through
// the description reader and the standard view creators, and what it refuses.

#include "gui/CControl.h"
#include "gui/CViewContainer.h"
#include "gui/IController.h"
#include "gui/UIDescription.h"

#include "tests/params/TextHelpers.h"
#include "tests/support/ParameterContract.h"

#include <gtest/gtest.h>

#include <string>

using namespace VSTGUI;
using namespace KalviorTest;

namespace {

// Records what the description asks of its controller: custom views become
// plain views, so that only the description's own controls are controls.
class RecordingController : public IController
{
public:
    void valueChanged(CControl*) override {}
    CView* createView(const UIAttributes&, const IUIDescription*) override { return new CView(CRect(0, 0, 1, 1)); }
    IController* createSubController(UTF8StringPtr, const IUIDescription*) override { return nullptr; }
};

// Every control is bound to a parameter as a host sees it: its tag is a
// parameter ID (or the About button's), its default and range are the
// parameter's, and each parameter a user edits has exactly one control.
// Value displays show a parameter and edit nothing: they are bound, not counted.
TEST(Description, EveryControlIsBoundToItsParameter)
{
    auto description = owned(new UIDescription(KALVIOR_EDITOR_DESCRIPTION));
    ASSERT_TRUE(description->parse());
    RecordingController controller;
    auto editor = owned(dynamic_cast<CViewContainer*>(description->createView("view", &controller)));
    ASSERT_TRUE(editor);
    int controls[kParameterCount] = {};
    int aboutButtons = 0;
    for (int32 i = 0; i < editor->getNbViews(); ++i)
    {
        auto* control = dynamic_cast<CControl*>(editor->getView(i));
        if (!control || control->isTypeOf("CTextLabel")) // unit labels show fixed texts
            continue;
        const int32 tag = control->getTag();
        SCOPED_TRACE(testing::Message() << "tag " << tag);
        EXPECT_EQ(&controller, control->getListener());
        if (tag == 100)
        {
            ++aboutButtons;
            continue;
        }
        ASSERT_GE(tag, 0);
        ASSERT_LT(tag, static_cast<int32>(kParameterCount));
        const ParameterRow& row = kParameters[tag];
        EXPECT_FLOAT_EQ(static_cast<float>(row.objectDefault()), control->getDefaultValue()) << row.title;
        EXPECT_EQ(0.f, control->getMin());
        const bool menu = control->isTypeOf("COptionMenu");
        const bool display = !menu && control->isTypeOf("CParamDisplay");
        // A menu has one entry a step; every other control works in the unit range.
        EXPECT_EQ(menu ? static_cast<float>(row.steps) : 1.f, control->getMax()) << row.title;
        if (menu)
        {
            EXPECT_GT(row.steps, 0) << row.title << " is no list";
        }
        if (!display)
            ++controls[tag];
    }
    EXPECT_EQ(1, aboutButtons);
    for (const ParameterRow& row : kParameters)
    {
        // The program list and bypass belong to the host's own controls.
        const bool hostOwned = (row.flags & (kProgramChange | kBypassFlag)) != 0;
        const bool edited = !hostOwned && (row.automatable() || row.steps > 0);
        EXPECT_EQ(edited ? 1 : 0, controls[row.id]) << row.title;
    }
    EXPECT_EQ(description->getTagForName("Crossover Freq"), 24) << "tags are named by the titles";
}

TEST(Description, NumbersReadTheSameInAnyLocale)
{
    TestText::ScopedLocale locale("de_DE.UTF-8");
    if (!locale.isAvailable())
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
