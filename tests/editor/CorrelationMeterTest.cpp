#include "EditorFixture.h"

#include "tests/support/ProcessingHost.h"
#include "tests/support/ScopeListener.h"

#include "pluginterfaces/gui/iplugview.h"

#include <X11/Xlib.h>

#include <cmath>
#include <functional>
#include <optional>
#include <utility>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace EditorTest;

namespace {

// The meter's place in the editor: under the scope, centred on its axis.
constexpr int kMeterLeft = 195, kMeterTop = 226, kMeterWidth = 140, kMeterHeight = 3;
constexpr int kHalf = kMeterWidth / 2;

// A host that relays the processor's messages to the controller itself, and
// so knows when a scope block has been delivered.
class RelayingHost : public KalviorTest::ScopeListener
{
public:
    explicit RelayingHost(IConnectionPoint* controller) : controller(controller) {}
    tresult PLUGIN_API notify(IMessage* message) override
    {
        const tresult result = controller->notify(message);
        KalviorTest::ScopeListener::notify(message);
        return result;
    }

private:
    IConnectionPoint* controller;
};

class CorrelationMeterTest : public EditorFixture
{
protected:
    IPlugView* openEditorOf(IEditController* controller)
    {
        IPlugView* view = controller->createView("editor");
        if (view && (view->setFrame(&runLoop) != kResultOk ||
                     view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID) != kResultOk))
            closeEditor(view);
        settle(120);
        return view;
    }

    // The reading the bar shows, from the pixels that changed against `before`:
    // green right of the centre is positive, red left of it negative. None
    // when the meter's area is untouched.
    static std::optional<double> shownReading(const Image& before, const Image& after)
    {
        bool touched = false;
        for (int y = kMeterTop; y < kMeterTop + kMeterHeight; ++y)
            for (int x = kMeterLeft; x < kMeterLeft + kMeterWidth; ++x)
                touched = touched || before.at(x, y) != after.at(x, y);
        if (!touched)
            return std::nullopt;
        int green = 0, red = 0;
        for (int x = kMeterLeft; x < kMeterLeft + kMeterWidth; ++x)
        {
            const uint32_t p = after.at(x, kMeterTop + kMeterHeight / 2);
            const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff;
            green += g > r + 60;
            red += r > g + 60;
        }
        return double(green - red) / kHalf;
    }
};

// Audio processed by the plug-in reaches the meter through the controller's
// notify: four whole scope blocks at 48 kHz (one kept frame in nine), the
// last three of which the meter reads. Independent noise over 1536 pairs has
// a standard deviation of ~0.026; a pixel of the bar is 1/70.
TEST_F(CorrelationMeterTest, TheBarShowsTheCorrelationOfTheProcessedAudio)
{
    using Signal = std::function<std::pair<double, double>(KalviorTest::Noise&)>;
    struct Case
    {
        const char* name;
        Signal signal;
        std::optional<double> expected; // none: the meter shows nothing
        double tolerance;
    };
    const Case cases[] = {
        {"mono",
         [](KalviorTest::Noise& n)
         {
             const double v = 0.5 * n.next();
             return std::make_pair(v, v);
         },
         1.0, 1.5 / kHalf},
        {"inverted",
         [](KalviorTest::Noise& n)
         {
             const double v = 0.5 * n.next();
             return std::make_pair(v, -v);
         },
         -1.0, 1.5 / kHalf},
        {"independent noise", [](KalviorTest::Noise& n) { return std::make_pair(0.5 * n.next(), 0.5 * n.next()); }, 0.0,
         0.1},
        {"left only", [](KalviorTest::Noise& n) { return std::make_pair(0.5 * n.next(), 0.0); }, std::nullopt, 0},
    };
    constexpr int kBlocks = 4;
    constexpr int32 kChunk = 512;
    constexpr int32 kChunksPerBlock = 9 * 512 / kChunk; // 512 kept frames, one in trunc(48000 / 5120)

    for (const Case& c : cases)
    {
        KalviorTest::ProcessingHost host(factory(), false);
        ASSERT_TRUE(host.ok()) << host.error;
        auto component = KalviorTest::query<IConnectionPoint>(host.component());
        auto controllerPoint = KalviorTest::query<IConnectionPoint>(host.controller());
        ASSERT_TRUE(component && controllerPoint);
        RelayingHost relay(controllerPoint);
        ASSERT_EQ(kResultOk, component->connect(&relay));
        ASSERT_EQ(kResultOk, host.start(KalviorTest::HostSetup{}));
        IPlugView* view = openEditorOf(host.controller());
        EXPECT_NE(nullptr, view) << c.name;
        const Image before = screenshot();

        KalviorTest::Noise noise(3);
        for (int block = 1; block <= kBlocks && view; ++block)
        {
            for (int32 chunk = 0; chunk < kChunksPerBlock; ++chunk)
            {
                for (int32 i = 0; i < kChunk; ++i)
                {
                    const auto [left, right] = c.signal(noise);
                    host.buffers.setInput(0, i, left);
                    host.buffers.setInput(1, i, right);
                }
                host.process(kChunk);
            }
            EXPECT_TRUE(relay.waitFor(block)) << c.name << ": block " << block;
        }
        // One tick of the meter's timer, then the frame's repaint.
        runLoop.fireTimers(100);
        runLoop.fireTimers(16);
        XSync(display, False);
        const std::optional<double> shown = shownReading(before, screenshot());

        closeEditor(view);
        host.stop();
        component->disconnect(&relay);
        ASSERT_EQ(c.expected.has_value(), shown.has_value()) << c.name;
        if (shown)
        {
            EXPECT_NEAR(*c.expected, *shown, c.tolerance) << c.name;
        }
    }
}

} // namespace
