#pragma once

#include "gui/CColor.h"
#include "gui/CRect.h"
#include "gui/IPlatformBitmap.h"

#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {

class CDrawContext;

// A PNG file's bytes held in memory.
struct PngData
{
    const void* data = nullptr;
    size_t size = 0;
};

// A picture in memory, premultiplied 32-bit pixels. Strips of equal frames
// stacked vertically serve multi-frame controls. Its size is in view units;
// it may hold the same picture at several pixel densities (scale factors,
// pixels per unit), and is drawn from the one nearest the screen's.
class CBitmap : public CBaseObject
{
public:
    // Loads a PNG file; isLoaded() tells whether that worked.
    explicit CBitmap(const std::string& pngPath);
    // Decodes a PNG held in memory.
    explicit CBitmap(const PngData& png);
    // A transparent bitmap of the given size, with scaleFactor pixels per
    // unit (the pixel size rounded up).
    CBitmap(CCoord width, CCoord height, double scaleFactor = 1.);
    ~CBitmap() override;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Adds the same picture drawn at scaleFactor pixels per unit. False, and
    // nothing added, when it does not decode or its size does not match.
    bool addBitmap(const PngData& png, double scaleFactor);

    bool isLoaded() const { return !pictures.empty(); }
    CCoord getWidth() const;
    CCoord getHeight() const;
    // Pixels per unit of the first picture (the one pixel access reaches).
    double getScaleFactor() const { return pictures.empty() ? 1. : pictures.front().scaleFactor; }
    const std::string& getPath() const { return path; }

    // Draws the part that starts at offset into rect.
    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(), float alpha = 1.f);

    // The first picture.
    IPlatformBitmap* getPlatformBitmap() const { return pictures.empty() ? nullptr : pictures.front().bitmap.get(); }
    // The picture to draw on a device of deviceScale pixels per unit: the
    // coarsest that is at least as fine, else the finest. Null when not loaded.
    IPlatformBitmap* getBestPlatformBitmap(double deviceScale, double& scaleFactor) const;

private:
    struct Picture
    {
        std::unique_ptr<IPlatformBitmap> bitmap;
        double scaleFactor;
    };

    std::string path;
    std::vector<Picture> pictures;
};

// Direct access to a bitmap's pixels as straight-alpha colours. Changes reach
// the bitmap when the access is released (destroyed).
class CBitmapPixelAccess : public CBaseObject
{
public:
    // Null when the bitmap has no pixels.
    static CBitmapPixelAccess* create(CBitmap* bitmap, bool alwaysReturnsFullAlpha = false);

    // Also usable on the stack (no allocation); check isValid().
    explicit CBitmapPixelAccess(CBitmap* bitmap, bool alwaysReturnsFullAlpha = false);
    ~CBitmapPixelAccess() override;
    CBitmapPixelAccess(const CBitmapPixelAccess&) = delete;
    CBitmapPixelAccess& operator=(const CBitmapPixelAccess&) = delete;

    bool isValid() const { return data != nullptr; }
    // False (position unchanged) outside the bitmap.
    bool setPosition(uint32 x, uint32 y);
    // Moves to the next pixel in rows; false after the last one.
    bool operator++();
    uint32 getX() const { return x; }
    uint32 getY() const { return y; }
    uint32 getBitmapWidth() const { return width; }
    uint32 getBitmapHeight() const { return height; }

    void getColor(CColor& color) const;
    void setColor(const CColor& color);

private:
    uint32_t* pixel() const { return reinterpret_cast<uint32_t*>(data + y * stride) + x; }

    CBitmap* bitmap = nullptr;
    unsigned char* data = nullptr;
    uint32 width = 0;
    uint32 height = 0;
    uint32 stride = 0;
    uint32 x = 0;
    uint32 y = 0;
    bool fullAlpha = false;
};

} // namespace VSTGUI
