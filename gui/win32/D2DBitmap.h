#pragma once

#include "gui/IPlatformBitmap.h"
#include "gui/win32/ComPtr.h"

#include <d2d1.h>

#include <vector>

namespace VSTGUI {

namespace Win32 {

// A bitmap's pixels in memory (premultiplied BGRA, which is PixelBuffer's
// layout on little-endian machines), copied into a Direct2D bitmap of the
// render target that draws it.
class D2DBitmap : public IPlatformBitmap
{
public:
    D2DBitmap(uint32 width, uint32 height);

    uint32 getWidth() const override { return width; }
    uint32 getHeight() const override { return height; }
    bool lockPixels(PixelBuffer& buffer) override;
    void unlockPixels() override {}

    // The pixels as a bitmap of target; null on failure.
    ComPtr<ID2D1Bitmap> createFor(ID2D1RenderTarget* target) const;
    // The side's bitmap behind a platform bitmap, or null.
    static D2DBitmap* of(IPlatformBitmap* bitmap);

    std::vector<uint32_t>& getPixels() { return pixels; }

private:
    uint32 width;
    uint32 height;
    std::vector<uint32_t> pixels;
};

} // namespace Win32
} // namespace VSTGUI
