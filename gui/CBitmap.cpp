#include "gui/CBitmap.h"

#include "gui/CDrawContext.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace VSTGUI {

CBitmap::CBitmap(const std::string& pngPath) : path(pngPath)
{
    std::ifstream file(pngPath, std::ios::binary);
    if (!file)
        return;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (auto bitmap = IPlatformBitmap::createFromPng(bytes.data(), bytes.size()))
        pictures.push_back({std::move(bitmap), 1.});
}

CBitmap::CBitmap(const PngData& png)
{
    if (auto bitmap = IPlatformBitmap::createFromPng(png.data, png.size))
        pictures.push_back({std::move(bitmap), 1.});
}

CBitmap::CBitmap(CCoord w, CCoord h, double scaleFactor)
{
    if (w < 1 || h < 1 || !(scaleFactor > 0) || w * scaleFactor > 1e5 || h * scaleFactor > 1e5)
        return;
    if (auto bitmap = IPlatformBitmap::create(static_cast<uint32>(std::ceil(w * scaleFactor)),
                                              static_cast<uint32>(std::ceil(h * scaleFactor))))
        pictures.push_back({std::move(bitmap), scaleFactor});
}

CBitmap::~CBitmap() = default;

bool CBitmap::addBitmap(const PngData& png, double scaleFactor)
{
    if (pictures.empty() || !(scaleFactor > 0))
        return false;
    auto bitmap = IPlatformBitmap::createFromPng(png.data, png.size);
    // The same picture: its size in units must be the first one's, to a pixel.
    if (!bitmap || std::abs(bitmap->getWidth() / scaleFactor - getWidth()) >= 1. ||
        std::abs(bitmap->getHeight() / scaleFactor - getHeight()) >= 1.)
        return false;
    pictures.push_back({std::move(bitmap), scaleFactor});
    return true;
}

CCoord CBitmap::getWidth() const
{
    return pictures.empty() ? 0 : std::floor(pictures.front().bitmap->getWidth() / pictures.front().scaleFactor);
}

CCoord CBitmap::getHeight() const
{
    return pictures.empty() ? 0 : std::floor(pictures.front().bitmap->getHeight() / pictures.front().scaleFactor);
}

IPlatformBitmap* CBitmap::getBestPlatformBitmap(double deviceScale, double& scaleFactor) const
{
    if (pictures.empty())
        return nullptr;
    // The coarsest picture fine enough for the screen, else the finest there is.
    const Picture* best = nullptr;
    for (const Picture& picture : pictures)
        if (picture.scaleFactor >= deviceScale && (!best || picture.scaleFactor < best->scaleFactor))
            best = &picture;
    if (!best)
        best = &*std::max_element(pictures.begin(), pictures.end(), [](const Picture& a, const Picture& b)
                                  { return a.scaleFactor < b.scaleFactor; });
    scaleFactor = best->scaleFactor;
    return best->bitmap.get();
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
    if (context)
        context->drawBitmap(this, rect, offset, alpha);
}

CBitmapPixelAccess* CBitmapPixelAccess::create(CBitmap* bitmap, bool alwaysReturnsFullAlpha)
{
    auto* access = new CBitmapPixelAccess(bitmap, alwaysReturnsFullAlpha);
    if (!access->isValid())
    {
        access->forget();
        return nullptr;
    }
    return access;
}

CBitmapPixelAccess::CBitmapPixelAccess(CBitmap* b, bool alwaysReturnsFullAlpha) : fullAlpha(alwaysReturnsFullAlpha)
{
    PixelBuffer buffer;
    if (!b || !b->getPlatformBitmap() || !b->getPlatformBitmap()->lockPixels(buffer))
        return;
    bitmap = b;
    bitmap->remember();
    data = buffer.data;
    width = buffer.width;
    height = buffer.height;
    stride = buffer.stride;
}

CBitmapPixelAccess::~CBitmapPixelAccess()
{
    if (!bitmap)
        return;
    bitmap->getPlatformBitmap()->unlockPixels();
    bitmap->forget();
}

bool CBitmapPixelAccess::setPosition(uint32 px, uint32 py)
{
    if (!data || px >= width || py >= height)
        return false;
    x = px;
    y = py;
    return true;
}

bool CBitmapPixelAccess::operator++()
{
    if (!data)
        return false;
    if (x + 1 < width)
    {
        ++x;
        return true;
    }
    if (y + 1 < height)
    {
        x = 0;
        ++y;
        return true;
    }
    return false;
}

void CBitmapPixelAccess::getColor(CColor& color) const
{
    if (!data)
        return;
    const uint32_t p = *pixel();
    const uint32_t a = p >> 24;
    // Stored premultiplied: divide the alpha back out, rounding to nearest.
    auto straight = [a](uint32_t v)
    {
        return a == 0 ? 0u : std::min(255u, (v * 255 + a / 2) / a);
    };
    color.red = static_cast<uint8_t>(straight((p >> 16) & 0xff));
    color.green = static_cast<uint8_t>(straight((p >> 8) & 0xff));
    color.blue = static_cast<uint8_t>(straight(p & 0xff));
    color.alpha = fullAlpha ? 255 : static_cast<uint8_t>(a);
}

void CBitmapPixelAccess::setColor(const CColor& color)
{
    if (!data)
        return;
    const uint32_t a = color.alpha;
    auto premultiplied = [a](uint32_t v)
    {
        return (v * a + 127) / 255;
    };
    *pixel() =
        (a << 24) | (premultiplied(color.red) << 16) | (premultiplied(color.green) << 8) | premultiplied(color.blue);
}

} // namespace VSTGUI
