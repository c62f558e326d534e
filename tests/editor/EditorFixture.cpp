#include "EditorFixture.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <X11/Xlib.h>

#include <cairo.h>
#include <dirent.h>

#include <algorithm>
#include <cstdlib>

using namespace Steinberg;

namespace EditorTest {

RgbaImage loadPng(const std::string& path)
{
    RgbaImage image;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_flush(surface);
        image.width = cairo_image_surface_get_width(surface);
        image.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const bool hasAlpha = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32;
        const unsigned char* data = cairo_image_surface_get_data(surface);
        image.rgba.resize(static_cast<size_t>(4 * image.width * image.height));
        for (int y = 0; y < image.height; ++y)
        {
            for (int x = 0; x < image.width; ++x)
            {
                uint32_t p = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
                const unsigned a = hasAlpha ? p >> 24 : 255;
                auto straight = [a](unsigned v)
                {
                    return a == 0 ? 0u : std::min(255u, (v * 255 + a / 2) / a);
                };
                uint8_t* out = &image.rgba[static_cast<size_t>(4 * (y * image.width + x))];
                out[0] = static_cast<uint8_t>(straight((p >> 16) & 0xff));
                out[1] = static_cast<uint8_t>(straight((p >> 8) & 0xff));
                out[2] = static_cast<uint8_t>(straight(p & 0xff));
                out[3] = static_cast<uint8_t>(a);
            }
        }
    }
    cairo_surface_destroy(surface);
    return image;
}

int channelDistance(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        worst =
            std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)));
    return worst;
}

uint32_t rgb(int r, int g, int b)
{
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}

void EditorFixture::SetUp()
{
    std::string reason;
    if (!window.open(reason))
        GTEST_SKIP() << "no X server for the editor tests: " << reason;
    PluginTest::SetUp();
    display = window.display;
    parent = window.window;
    runLoop.onResizeRequest = [this](int width, int height) { window.resize(width, height); };
}

IPlugView* EditorFixture::openEditor(double contentScale)
{
    IPlugView* view = controller()->createView("editor");
    if (!view)
        return nullptr;
    view->setFrame(&runLoop);
    if (contentScale > 0)
    {
        IPtr<IPlugViewContentScaleSupport> scaling = KalviorTest::query<IPlugViewContentScaleSupport>(view);
        EXPECT_TRUE(scaling && scaling->setContentScaleFactor(static_cast<float>(contentScale)) == kResultTrue);
    }
    ViewRect size;
    if (view->getSize(&size) == kResultTrue)
        window.resize(size.getWidth(), size.getHeight());
    if (view->attached(reinterpret_cast<void*>(parent), kPlatformTypeX11EmbedWindowID) != kResultOk)
    {
        view->setFrame(nullptr);
        view->release();
        return nullptr;
    }
    settle(120);
    return view;
}

void EditorFixture::closeEditor(IPlugView*& view)
{
    if (!view)
        return;
    view->removed();
    view->setFrame(nullptr);
    view->release();
    view = nullptr;
    XSync(display, False);
}

void EditorFixture::settle(int milliseconds)
{
    XSync(display, False);
    runLoop.runFor(std::chrono::milliseconds(milliseconds));
    XSync(display, False);
}

Image EditorFixture::screenshot() const
{
    Image image;
    image.pixels = window.pixels();
    if (!image.pixels.empty())
    {
        image.width = window.width;
        image.height = window.height;
    }
    return image;
}

std::string EditorFixture::resourcesPath() const
{
    return KalviorTest::bundlePath() + "/Contents/Resources";
}

void EditorFixture::moveTo(int x, int y)
{
    window.move(x, y);
    settle(20);
}

void EditorFixture::click(int x, int y, unsigned button)
{
    moveTo(x, y);
    window.button(button, true);
    settle(30);
    window.button(button, false);
    settle(30);
}

void EditorFixture::holdKey(unsigned long keysym, bool down)
{
    window.key(keysym, down);
    settle(20);
}

void EditorFixture::drag(int x, int y, int dy)
{
    moveTo(x, y);
    window.button(1, true);
    settle(30);
    const int steps = std::max(1, std::abs(dy) / 5);
    for (int i = 1; i <= steps; ++i)
        moveTo(x, y + dy * i / steps);
    window.button(1, false);
    settle(30);
}

int EditorFixture::openDescriptorCount()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd"))
    {
        while (dirent* entry = readdir(dir))
            count += entry->d_name[0] != '.';
        closedir(dir);
    }
    return count - 1; // the directory's own descriptor
}

} // namespace EditorTest
