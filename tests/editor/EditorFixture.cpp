#include "EditorFixture.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <X11/Xlib.h>

#include <cairo.h>
#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>

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

bool savePng(const Image& image, const std::string& path)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; data && y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            reinterpret_cast<uint32_t*>(data + y * stride)[x] = image.at(x, y);
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

uint32_t pixelOf(const RgbaImage& image, int x, int y)
{
    const uint8_t* p = image.at(x, y);
    return rgb(p[0], p[1], p[2]);
}

std::vector<ViewBox> templateViewBoxes(const std::string& descriptionPath)
{
    std::ifstream file(descriptionPath);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto start = text.find("<template name=\"view\"");
    const auto end = text.find("</template>", start);
    std::vector<ViewBox> boxes;
    if (start == std::string::npos || end == std::string::npos)
        return boxes;
    const std::regex view(R"re(<view [^>]*origin="(\d+), (\d+)" size="(\d+), (\d+)")re");
    const std::string body = text.substr(start, end - start);
    for (std::sregex_iterator it(body.begin(), body.end(), view), last; it != last; ++it)
        boxes.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4])});
    return boxes;
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
    runLoop.onResizeRequest = [this](int width, int height)
    {
        window.resize(width, height);
    };
}

void EditorFixture::TearDown()
{
    while (!openViews.empty())
    {
        IPlugView* view = openViews.back();
        closeEditor(view);
    }
    PluginTest::TearDown();
}

IPlugView* EditorFixture::openEditor(double contentScale, Vst::IEditController* of)
{
    IPlugView* view = (of ? of : controller())->createView("editor");
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
    openViews.push_back(view);
    return view;
}

void EditorFixture::closeEditor(IPlugView*& view)
{
    if (!view)
        return;
    openViews.erase(std::remove(openViews.begin(), openViews.end(), view), openViews.end());
    view->removed();
    view->setFrame(nullptr);
    view->release();
    view = nullptr;
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

std::vector<uint8_t> onePointBlock()
{
    std::vector<uint8_t> block(1024);
    for (size_t i = 0; i < 512; ++i)
    {
        block[2 * i] = static_cast<uint8_t>(static_cast<int8_t>(kScopeMid));
        block[2 * i + 1] = static_cast<uint8_t>(static_cast<int8_t>(kScopeSide));
    }
    return block;
}

tresult EditorFixture::sendScope(const std::vector<uint8_t>& block, Vst::IEditController* to)
{
    IPtr<Vst::IConnectionPoint> connection = KalviorTest::query<Vst::IConnectionPoint>(to ? to : controller());
    IPtr<Vst::IMessage> message = KalviorTest::createMessage(host, "Scope");
    if (!connection || !message)
        return kInternalError;
    message->getAttributes()->setBinary("Data", block.data(), static_cast<uint32>(block.size()));
    return connection->notify(message);
}

void EditorFixture::redrawScope()
{
    runLoop.fireTimers(100);
    runLoop.fireTimers(16);
    XSync(display, False);
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
