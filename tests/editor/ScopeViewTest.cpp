#include "editor/ScopeView.h"
#include "editor/CorrelationMeter.h"
#include "gui/x11/CairoDrawContext.h"
#include "tests/support/Noise.h"

#include <gtest/gtest.h>
#include <mutex>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

using namespace VSTGUI;

namespace {

using Block = std::vector<uint8_t>;

Block uniformBlock(int mid, int side)
{
    Block block(ScopeBlock::kBytes);
    for (size_t i = 0; i < ScopeBlock::kFrames; ++i)
    {
        block[2 * i] = static_cast<uint8_t>(static_cast<int8_t>(mid));
        block[2 * i + 1] = static_cast<uint8_t>(static_cast<int8_t>(side));
    }
    return block;
}

// Draws the view into a transparent picture of its parent's area and reads it back.
class Canvas
{
public:
    Canvas(int width, int height)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), width(width)
    {
    }
    ~Canvas() { cairo_surface_destroy(surface); }

    void draw(CView& view)
    {
        cairo_t* cr = cairo_create(surface);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        {
            X11::CairoDrawContext context(cr);
            view.draw(&context);
        }
        cairo_destroy(cr);
        cairo_surface_flush(surface);
    }
    // Premultiplied ARGB as stored.
    uint32_t at(int x, int y) const
    {
        return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface))[y * width + x];
    }
    int countLit() const
    {
        int lit = 0;
        for (int i = 0; i < width * cairo_image_surface_get_height(surface); ++i)
            lit += (reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface))[i] >> 24) != 0;
        return lit;
    }
    int countFresh() const
    {
        int fresh = 0;
        for (int i = 0; i < width * cairo_image_surface_get_height(surface); ++i)
            fresh += reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface))[i] == 0xffdcffdcu;
        return fresh;
    }

private:
    cairo_surface_t* surface;
    int width;
};

constexpr uint32_t kFreshPoint = 0xffdcffdc; // (220, 255, 220), opaque

// Where a pair lands in a 170 x 170 view: x = 85 - side, y = 85 - mid.
TEST(ScopeView, EachPairLightsThePixelItsMidAndSideName)
{
    struct Case
    {
        int mid, side;
        bool plotted;
        int x, y;
    };
    const Case cases[] = {
        {0, 0, true, 85, 85},     {50, 0, true, 85, 35},        {0, 50, true, 35, 85},    {-40, -40, true, 125, 125},
        {85, 85, true, 0, 0},     {-84, -84, true, 169, 169},   {0, 127, false, -42, 85}, {0, -86, false, 171, 85},
        {-86, 0, false, 85, 171}, {-128, 127, false, -42, 213},
    };
    for (const Case& c : cases)
    {
        auto view = VSTGUI::owned(new ScopeView(CRect(0, 0, 170, 170)));
        const Block block = uniformBlock(c.mid, c.side);
        view->setScopeData(block.data());
        Canvas canvas(170, 170);
        canvas.draw(*view);
        if (c.plotted)
        {
            EXPECT_EQ(kFreshPoint, canvas.at(c.x, c.y)) << c.mid << " " << c.side;
            EXPECT_EQ(1, canvas.countLit()) << c.mid << " " << c.side;
        }
        else
        {
            EXPECT_EQ(0, canvas.countLit()) << c.mid << " " << c.side << " falls outside";
        }
    }
}

TEST(ScopeView, TheTraceFadesWithEveryRedraw)
{
    auto view = VSTGUI::owned(new ScopeView(CRect(0, 0, 170, 170)));
    Canvas canvas(170, 170);
    canvas.draw(*view);
    EXPECT_EQ(0, canvas.countLit()) << "nothing before any data";
    const Block block = uniformBlock(10, -20);
    view->setScopeData(block.data());
    canvas.draw(*view);
    ASSERT_EQ(kFreshPoint, canvas.at(105, 75));
    // A redraw halves red and blue and keeps three quarters of green and
    // alpha: (110, 191, 110) at alpha 191, stored premultiplied.
    canvas.draw(*view);
    const uint32_t p = canvas.at(105, 75);
    EXPECT_EQ(191u, p >> 24);
    EXPECT_NEAR(191 * 191 / 255.0, (p >> 8) & 0xff, 1.5);
    EXPECT_NEAR(110 * 191 / 255.0, (p >> 16) & 0xff, 1.5);
    EXPECT_NEAR(110 * 191 / 255.0, p & 0xff, 1.5);
    for (int redraw = 2; redraw <= 12; ++redraw)
        canvas.draw(*view);
    EXPECT_EQ(1, canvas.countLit()) << "faint, but still there";
    for (int redraw = 0; redraw < 8; ++redraw)
        canvas.draw(*view);
    EXPECT_EQ(0, canvas.countLit()) << "gone for good";
}

TEST(ScopeView, ResizingDiscardsTheTrace)
{
    auto view = VSTGUI::owned(new ScopeView(CRect(0, 0, 170, 170)));
    const Block block = uniformBlock(0, 0);
    view->setScopeData(block.data());
    Canvas canvas(200, 200);
    canvas.draw(*view);
    ASSERT_EQ(1, canvas.countLit());
    view->setViewSize(CRect(0, 0, 200, 200));
    canvas.draw(*view);
    EXPECT_EQ(0, canvas.countLit());
    view->setScopeData(block.data());
    canvas.draw(*view);
    EXPECT_EQ(kFreshPoint, canvas.at(100, 100)) << "the new centre";
}

// Until the description sizes it, or when it has no area, the view has no
// picture of its own: the newest block is drawn as points that do not persist.
TEST(ScopeView, WithoutAnAreaTheNewestBlockIsDrawnAsPointsThatDoNotPersist)
{
    auto view = VSTGUI::owned(new ScopeView(CRect(40, 30, 40, 30)));
    const Block block = uniformBlock(5, -7);
    view->setScopeData(block.data());
    Canvas canvas(100, 100);
    canvas.draw(*view);
    EXPECT_EQ(kFreshPoint, canvas.at(47, 25)) << "x = left - side, y = top - mid";
    EXPECT_EQ(1, canvas.countLit());
    canvas.draw(*view);
    EXPECT_EQ(0, canvas.countLit());
}

// The controller writes blocks from the processor's sending thread while the
// UI thread draws: every drawn block must be one whole block.
TEST(ScopeView, DrawingTakesWholeBlocksWhileAnotherThreadWrites)
{
    std::mutex scopeMutex;
    auto view = VSTGUI::owned(new ScopeView(CRect(0, 0, 170, 170), &scopeMutex));
    const Block a = uniformBlock(40, 40);
    const Block b = uniformBlock(-40, -40);
    std::atomic<bool> stop{false};
    std::thread writer(
        [&]
        {
            for (unsigned i = 0; !stop; ++i)
            {
                std::lock_guard<std::mutex> lock(scopeMutex);
                view->setScopeData((i & 1) ? a.data() : b.data());
            }
        });
    Canvas canvas(170, 170);
    int torn = 0;
    for (int redraw = 0; redraw < 1500; ++redraw)
    {
        canvas.draw(*view);
        torn += canvas.countFresh() > 1;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(0, torn);
}

// The meter over a script of events, one character each: a block that is
// mono (M), inverted (I), left only (L), right only (R), silent (S) or of
// noise (N), or a timer tick (.). All but N have equal energy: two mono blocks
// and one inverted read (2 - 1) / 3. Three noise blocks, 1536 pairs, have a
// standard deviation of ~0.026.
TEST(CorrelationMeter, ReadsTheCorrelationOfTheLast300Milliseconds)
{
    constexpr double kNone = 2; // no reading
    const std::pair<const char*, double> cases[] = {
        {"", kNone},    {"M", 1},         {"I", -1},        {"NNN", 0},          {"L", kNone},   {"RRR", kNone},
        {"SSS", kNone}, {"LR", 0},        {"MMI", 1.0 / 3}, {"M.I.M.", 1.0 / 3}, {"MMMIII", -1}, {"MMMSSS", kNone},
        {"M...", 1},    {"M....", kNone}, {"M..I", 0},      {"M..I..", -1},
    };
    for (const auto& [script, expected] : cases)
    {
        CorrelationMeter meter(CRect(0, 0, 140, 3));
        KalviorTest::Noise noise(11);
        for (const char* e = script; *e; ++e)
        {
            // left = mid + side, right = mid - side
            Block block = uniformBlock(std::strchr("MLR", *e) ? 40 : 0, *e == 'R'               ? -40
                                                                        : std::strchr("IL", *e) ? 40
                                                                                                : 0);
            for (uint8_t& byte : block)
                byte = *e == 'N' ? static_cast<uint8_t>(static_cast<int8_t>(noise.next() * 60)) : byte;
            *e == '.' ? meter.tick() : meter.addBlock(block.data());
        }
        EXPECT_NEAR(expected, meter.reading().value_or(kNone), std::strchr(script, 'N') ? 0.1 : 1e-12) << script;
    }
}

} // namespace
