// The editor at any size: the host's content scale, the X server's Xft.dpi
// where the host sets none, and host resizing, through the real bundle.

#include "EditorFixture.h"

#include "params/ParamId.h"
#include "tests/support/StateRecords.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cmath>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace EditorTest;

namespace {

constexpr int kUnitsWide = 375, kUnitsHigh = 495;

int scaled(int units, double scale)
{
    return static_cast<int>(std::lround(units * scale));
}

class EditorScaleTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        boxes = templateViewBoxes(resourcesPath() + "/myEditor.uidesc");
        ASSERT_FALSE(boxes.empty());
    }

    void TearDown() override
    {
        if (display)
            XDeleteProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER);
        EditorFixture::TearDown();
    }

    // The X resources later connections read, as a desktop session sets them.
    void setXResources(const std::string& text)
    {
        XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
        XSync(display, False);
    }

    // The view's size and its window's both equal width x height.
    void expectSize(IPlugView* view, int width, int height)
    {
        ViewRect size;
        ASSERT_EQ(kResultTrue, view->getSize(&size));
        EXPECT_EQ(width, size.getWidth());
        EXPECT_EQ(height, size.getHeight());
        ASSERT_EQ(1, childWindowCount());
        XWindowAttributes attributes{};
        ASSERT_TRUE(XGetWindowAttributes(display, window.children()[0], &attributes));
        EXPECT_EQ(width, attributes.width);
        EXPECT_EQ(height, attributes.height);
    }

    // Largest and mean channel distance between the shot and skin (a picture
    // of the whole template at skinScale pixels per unit) where no view lies.
    std::pair<int, double> skinDistance(const Image& shot, const RgbaImage& skin, double shotScale,
                                        double skinScale) const
    {
        int largest = 0;
        double sum = 0;
        long compared = 0;
        for (int y = 0; y < shot.height; ++y)
        {
            for (int x = 0; x < shot.width; ++x)
            {
                const double ux = (x + 0.5) / shotScale, uy = (y + 0.5) / shotScale;
                bool covered = false;
                for (const ViewBox& b : boxes)
                    covered = covered || b.near(ux, uy);
                if (covered)
                    continue;
                const int sx = std::min(skin.width - 1, static_cast<int>(ux * skinScale));
                const int sy = std::min(skin.height - 1, static_cast<int>(uy * skinScale));
                const int d = channelDistance(pixelOf(skin, sx, sy), shot.at(x, y));
                largest = std::max(largest, d);
                sum += d;
                ++compared;
            }
        }
        EXPECT_GT(compared, 100000 * shotScale * shotScale);
        return {largest, compared ? sum / compared : 1e9};
    }

    std::vector<ViewBox> boxes;
};

// At the host's content scale, or where it sets none at the X server's
// Xft.dpi (96 is 1x), the window has the scaled size and shows the picture
// at device pixels: at 1 exactly today's, at 2 the 2x skin pixel for pixel
// wherever no control lies. A drag of the same length in units moves a knob
// as far, a scope point lands on its device pixel, and a later host call wins.
TEST_F(EditorScaleTest, TheEditorDrawsAndTakesTheMouseAtTheContentScale)
{
    struct Case
    {
        const char* what;
        double hostScale;      // set before attaching; 0 for none
        const char* resources; // the X server's resource database
        double expected;
    };
    const Case cases[] = {
        {"host 1", 1, "", 1},
        {"host 1.5", 1.5, "", 1.5},
        {"host 2", 2, "", 2},
        {"Xft.dpi 192", 0, "Xft.antialias:\t1\nXft.dpi:\t192\n", 2},
        {"Xft.dpi 96", 0, "Xft.dpi:\t96\n", 1},
        {"Xft.dpi unreadable", 0, "Xft.dpi:\tlarge\n", 1},
        {"host 1 over Xft.dpi 192", 1, "Xft.dpi:\t192\n", 1},
    };
    const RgbaImage reference = loadPng(std::string(KALVIOR_EDITOR_REFERENCE));
    ASSERT_EQ(kUnitsWide, reference.width);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        setXResources(c.resources);
        controller()->setParamNormalized(kBalance, 0.5);
        IPlugView* view = openEditor(c.hostScale);
        ASSERT_NE(nullptr, view);
        const double scale = c.expected;
        expectSize(view, scaled(kUnitsWide, scale), scaled(kUnitsHigh, scale));

        settle(200); // the first paint at this size, with room for a loaded machine
        const Image shot = screenshot();
        ASSERT_EQ(scaled(kUnitsWide, scale), shot.width);
        const RgbaImage skin = loadPng(resourcesPath() + (scale > 1 ? "/skin_2x.png" : "/skin.png"));
        const auto distance = skinDistance(shot, skin, scale, skin.width / double(kUnitsWide));
        const bool wholePixels = scale == std::floor(scale);
        EXPECT_LE(distance.first, wholePixels ? 2 : 255) << "filtered between densities";
        EXPECT_LE(distance.second, wholePixels ? 0.1 : 12);
        if (scale == 1)
        {
            // Where the editor's look changes on purpose, the new reference is written here.
            if (const char* out = std::getenv("KALVIOR_EDITOR_REFERENCE_OUT"))
            {
                EXPECT_TRUE(savePng(shot, out)) << out;
            }
            int differing = 0;
            for (int y = 0; y < kUnitsHigh; ++y)
                for (int x = 0; x < kUnitsWide; ++x)
                    differing += shot.at(x, y) != pixelOf(reference, x, y);
            EXPECT_EQ(0, differing) << "the picture at 1x is the one kept as the reference";
        }
        if (wholePixels)
        {
            ASSERT_EQ(kResultOk, sendScope(onePointBlock()));
            redrawScope();
            const int x = scaled(180 + 85 - kScopeSide, scale), y = scaled(55 + 85 - kScopeMid, scale);
            const Image plotted = screenshot();
            EXPECT_EQ(rgb(220, 255, 220), plotted.at(x, y)) << "the point, one device pixel";
            EXPECT_NE(rgb(220, 255, 220), plotted.at(x + 1, y));
        }

        drag(scaled(20 + 18, scale), scaled(255 + 18, scale), scaled(-40, scale));
        EXPECT_NEAR(0.7, controller()->getParamNormalized(kBalance), 1e-5) << "40 units up is a fifth of the range";

        IPtr<IPlugViewContentScaleSupport> scaling = KalviorTest::query<IPlugViewContentScaleSupport>(view);
        ASSERT_TRUE(scaling);
        EXPECT_EQ(kResultTrue, scaling->setContentScaleFactor(1.25f));
        settle();
        expectSize(view, scaled(kUnitsWide, 1.25), scaled(kUnitsHigh, 1.25));
        closeEditor(view);
    }
}

// Host resizing keeps the template's aspect ratio between 75 % and 250 %;
// the window follows onSize, and the instance reopens its editor at the last
// size, which its saved state knows nothing of.
TEST_F(EditorScaleTest, HostResizingKeepsTheAspectRatioAndTheLastSize)
{
    struct Case
    {
        const char* what;
        int width, height; // proposed by the host
        double scale;      // what it becomes
    };
    const Case cases[] = {
        {"wider", 500, 495, 500. / 375}, {"taller", 500, 800, 800. / 495}, {"odd", 563, 743, 563. / 375},
        {"too small", 100, 100, 0.75},   {"too large", 5000, 5000, 2.5},   {"a third larger", 500, 660, 500. / 375},
    };
    const KalviorTest::Bytes before = KalviorTest::getStateBytes(component());
    IPlugView* view = openEditor();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(kResultTrue, view->canResize());
    EXPECT_EQ(kInvalidArgument, view->checkSizeConstraint(nullptr));
    EXPECT_EQ(kInvalidArgument, view->onSize(nullptr));
    // A host whose window is wider than the editor (a toolbar) gives that size
    // as it is, again and again: the editor draws at the scale that fits and
    // keeps the host's size, so the host has no reason to call once more.
    for (int call = 0; call < 3; ++call)
    {
        ViewRect given(0, 0, kUnitsWide + 17, kUnitsHigh);
        ASSERT_EQ(kResultTrue, view->onSize(&given));
        ViewRect size;
        ASSERT_EQ(kResultTrue, view->getSize(&size));
        EXPECT_EQ(given.getWidth(), size.getWidth());
        EXPECT_EQ(given.getHeight(), size.getHeight());
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ViewRect wanted(0, 0, c.width, c.height);
        ASSERT_EQ(kResultTrue, view->checkSizeConstraint(&wanted));
        EXPECT_EQ(scaled(kUnitsWide, c.scale), wanted.getWidth());
        EXPECT_EQ(scaled(kUnitsHigh, c.scale), wanted.getHeight());
        EXPECT_LE(std::abs(wanted.getWidth() * kUnitsHigh - wanted.getHeight() * kUnitsWide), kUnitsHigh)
            << "the aspect ratio to a pixel";
        ASSERT_EQ(kResultTrue, view->onSize(&wanted));
        settle();
        expectSize(view, wanted.getWidth(), wanted.getHeight());
    }
    closeEditor(view);
    view = openEditor();
    ASSERT_NE(nullptr, view);
    expectSize(view, scaled(kUnitsWide, 500. / 375), scaled(kUnitsHigh, 500. / 375));
    closeEditor(view);
    EXPECT_EQ(before, KalviorTest::getStateBytes(component())) << "the size is not part of the saved state";
}

} // namespace
