#pragma once

#include "gui/IPlatformBitmap.h"

#include <cairo.h>

namespace VSTGUI {

namespace X11 {

// A bitmap as a cairo image surface (ARGB32, premultiplied, the layout of
// PixelBuffer), so pixel access needs no conversion.
class CairoBitmap : public IPlatformBitmap
{
public:
    // Takes over image, converting it to ARGB32 when needed.
    explicit CairoBitmap(cairo_surface_t* image);
    ~CairoBitmap() override;
    CairoBitmap(const CairoBitmap&) = delete;
    CairoBitmap& operator=(const CairoBitmap&) = delete;

    bool isValid() const { return surface != nullptr; }
    uint32 getWidth() const override { return width; }
    uint32 getHeight() const override { return height; }
    bool lockPixels(PixelBuffer& buffer) override;
    void unlockPixels() override;

    cairo_surface_t* getSurface() const { return surface; }
    // The surface of a bitmap made on this side, or null.
    static cairo_surface_t* surfaceOf(const IPlatformBitmap* bitmap);

private:
    cairo_surface_t* surface = nullptr;
    uint32 width = 0;
    uint32 height = 0;
};

} // namespace X11
} // namespace VSTGUI
