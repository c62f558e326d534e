#pragma once

#include "gui/CBaseObject.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace VSTGUI {

// A bitmap's pixels while locked: rows of 32-bit words 0xAARRGGBB with
// premultiplied colour, stride in bytes.
struct PixelBuffer
{
    uint8_t* data = nullptr;
    uint32 width = 0;
    uint32 height = 0;
    uint32 stride = 0;
};

// The graphics library's side of a bitmap.
class IPlatformBitmap
{
public:
    virtual ~IPlatformBitmap() = default;

    virtual uint32 getWidth() const = 0;
    virtual uint32 getHeight() const = 0;
    // Direct access to the pixels until unlockPixels, which publishes changes.
    virtual bool lockPixels(PixelBuffer& buffer) = 0;
    virtual void unlockPixels() = 0;

    // A transparent bitmap; null for an empty size or without memory.
    static std::unique_ptr<IPlatformBitmap> create(uint32 width, uint32 height);
    // Decodes a PNG held in memory; null when it is not one.
    static std::unique_ptr<IPlatformBitmap> createFromPng(const void* data, size_t size);
};

} // namespace VSTGUI
