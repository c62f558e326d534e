#include "gui/x11/CairoBitmap.h"

#include <cstring>

namespace VSTGUI {
namespace X11 {

// Feeds cairo's PNG reader from memory.
struct PngSource
{
    const unsigned char* data;
    size_t left;
};

static cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length)
{
    auto* source = static_cast<PngSource*>(closure);
    if (length > source->left)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, source->data, length);
    source->data += length;
    source->left -= length;
    return CAIRO_STATUS_SUCCESS;
}

// Keeps every bitmap in one pixel format so that pixel access has one layout.
CairoBitmap::CairoBitmap(cairo_surface_t* image)
{
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(image);
        return;
    }
    width = static_cast<uint32>(cairo_image_surface_get_width(image));
    height = static_cast<uint32>(cairo_image_surface_get_height(image));
    if (cairo_image_surface_get_format(image) == CAIRO_FORMAT_ARGB32)
    {
        surface = image;
        return;
    }
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(image);
}

CairoBitmap::~CairoBitmap()
{
    if (surface)
        cairo_surface_destroy(surface);
}

bool CairoBitmap::lockPixels(PixelBuffer& buffer)
{
    if (!surface)
        return false;
    cairo_surface_flush(surface);
    buffer.data = cairo_image_surface_get_data(surface);
    buffer.width = width;
    buffer.height = height;
    buffer.stride = static_cast<uint32>(cairo_image_surface_get_stride(surface));
    return buffer.data != nullptr;
}

void CairoBitmap::unlockPixels()
{
    if (surface)
        cairo_surface_mark_dirty(surface);
}

cairo_surface_t* CairoBitmap::surfaceOf(const IPlatformBitmap* bitmap)
{
    // Only this side's bitmaps exist in a build.
    auto* platform = static_cast<const CairoBitmap*>(bitmap);
    return platform ? platform->getSurface() : nullptr;
}

} // namespace X11

std::unique_ptr<IPlatformBitmap> IPlatformBitmap::create(uint32 width, uint32 height)
{
    if (width < 1 || height < 1)
        return nullptr;
    auto bitmap = std::make_unique<X11::CairoBitmap>(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height)));
    return bitmap->isValid() ? std::move(bitmap) : nullptr;
}

std::unique_ptr<IPlatformBitmap> IPlatformBitmap::createFromPng(const void* data, size_t size)
{
    if (!data || size == 0)
        return nullptr;
    X11::PngSource source{static_cast<const unsigned char*>(data), size};
    auto bitmap = std::make_unique<X11::CairoBitmap>(cairo_image_surface_create_from_png_stream(X11::readPng, &source));
    return bitmap->isValid() ? std::move(bitmap) : nullptr;
}

} // namespace VSTGUI
