#pragma once

// A host that embeds the plug-in's editor: the built bundle loaded as a host
// does, a top-level X window as the editor's parent on a private Xvfb server,
// the host run loop, screenshots read back from the server and synthetic
// input through the XTest extension.

#include "EditorHost.h"

#include "tests/support/KalviorBundle.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace EditorTest {

// Pixels as 0xRRGGBB.
struct Image
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    bool empty() const { return pixels.empty(); }
};

// Loads a PNG (straight colours composited over opaque black is not done:
// alpha is returned separately).
struct RgbaImage
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // straight alpha, 4 bytes a pixel

    const uint8_t* at(int x, int y) const { return &rgba[static_cast<size_t>(4 * (y * width + x))]; }
};
RgbaImage loadPng(const std::string& path);
// Writes an opaque picture as PNG; false on failure.
bool savePng(const Image& image, const std::string& path);
// A picture's pixel as 0xRRGGBB (its alpha ignored).
uint32_t pixelOf(const RgbaImage& image, int x, int y);

struct Point
{
    int x, y;
};

// View rectangles of the editor template, read from the description text.
struct ViewBox
{
    int x, y, w, h;
    // Whether the unit point (x, y) lies on the box or its one-unit border.
    bool near(double px, double py) const { return px >= x - 1 && px < x + w + 1 && py >= y - 1 && py < y + h + 1; }
};
std::vector<ViewBox> templateViewBoxes(const std::string& descriptionPath);
// Largest difference of one channel.
int channelDistance(uint32_t a, uint32_t b);
uint32_t rgb(int r, int g, int b);

// A scope block whose 512 pairs all name one point: up is positive mid,
// left positive side, from the centre of the scope.
constexpr int kScopeMid = 20, kScopeSide = -30;
std::vector<uint8_t> onePointBlock();

class EditorFixture : public EditorHost, public KalviorTest::PluginTest
{
protected:
    static constexpr int kParentX = HostWindow::kX;
    static constexpr int kParentY = HostWindow::kY;

    void SetUp() override;
    // Closes what a failed assertion left open, before the run loop goes.
    void TearDown() override;

    // createView("editor") of this instance's controller or of another,
    // setFrame, the content scale when one is given, attached in the parent
    // window (which takes the view's size).
    Steinberg::IPlugView* openEditor(double contentScale = 0, Steinberg::Vst::IEditController* of = nullptr);
    void closeEditor(Steinberg::IPlugView*& view);

    int childWindowCount() const { return window.childCount(); }
    Image screenshot() const;
    // The bundle's resource folder.
    std::string resourcesPath() const;

    // A "Scope" message with block, as the processor sends it, to the
    // controller (this instance's when to is null).
    Steinberg::tresult sendScope(const std::vector<uint8_t>& block, Steinberg::Vst::IEditController* to = nullptr);
    // One scope redraw: its 100 ms timer, then the frame's repaint timer.
    void redrawScope();

    // Every open file descriptor of this process.
    static int openDescriptorCount();

    Display* display = nullptr;
    Window parent = 0;

private:
    std::vector<Steinberg::IPlugView*> openViews;
};

} // namespace EditorTest
