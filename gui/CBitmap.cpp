#include "gui/CBitmap.h"

#include "gui/CDrawContext.h"

namespace VSTGUI {

CBitmap::CBitmap(const std::string& pngPath) : path(pngPath)
{
    cairo_surface_t* image = cairo_image_surface_create_from_png(pngPath.c_str());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(image);
        return;
    }
    adopt(image);
}

CBitmap::CBitmap(CCoord w, CCoord h)
{
    if (w < 1 || h < 1)
        return;
    adopt(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h)));
}

CBitmap::~CBitmap()
{
    if (surface)
        cairo_surface_destroy(surface);
}

// Keeps every bitmap in one pixel format so that pixel access has one layout.
void CBitmap::adopt(cairo_surface_t* image)
{
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(image);
        return;
    }
    width = cairo_image_surface_get_width(image);
    height = cairo_image_surface_get_height(image);
    if (cairo_image_surface_get_format(image) == CAIRO_FORMAT_ARGB32)
    {
        surface = image;
        return;
    }
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(image);
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
    if (!b || !b->getSurface())
        return;
    bitmap = b;
    bitmap->remember();
    cairo_surface_t* surface = bitmap->getSurface();
    cairo_surface_flush(surface);
    data = cairo_image_surface_get_data(surface);
    width = static_cast<uint32>(cairo_image_surface_get_width(surface));
    height = static_cast<uint32>(cairo_image_surface_get_height(surface));
    stride = static_cast<uint32>(cairo_image_surface_get_stride(surface));
}

CBitmapPixelAccess::~CBitmapPixelAccess()
{
    if (!bitmap)
        return;
    cairo_surface_mark_dirty(bitmap->getSurface());
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
