#include "gui/CBitmap.h"

#include "gui/CDrawContext.h"

#include <fstream>
#include <iterator>

namespace VSTGUI {

CBitmap::CBitmap(const std::string& pngPath) : path(pngPath)
{
    std::ifstream file(pngPath, std::ios::binary);
    if (!file)
        return;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    platformBitmap = IPlatformBitmap::createFromPng(bytes.data(), bytes.size());
}

CBitmap::CBitmap(const PngData& png) : platformBitmap(IPlatformBitmap::createFromPng(png.data, png.size)) {}

CBitmap::CBitmap(CCoord w, CCoord h)
{
    if (w < 1 || h < 1)
        return;
    platformBitmap = IPlatformBitmap::create(static_cast<uint32>(w), static_cast<uint32>(h));
}

CBitmap::~CBitmap() = default;

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
