#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace VSTGUI;

namespace {

TEST(PixelAccess, ANewBitmapIsTransparentAndEveryPixelIsVisitedOnce)
{
    auto bitmap = owned(new CBitmap(7, 5));
    CBitmapPixelAccess access(bitmap);
    ASSERT_TRUE(access.isValid());
    EXPECT_EQ(7u, access.getBitmapWidth());
    EXPECT_EQ(5u, access.getBitmapHeight());
    int visited = 0;
    CColor c;
    do
    {
        access.getColor(c);
        EXPECT_EQ(0, c.alpha);
        ++visited;
    } while (++access);
    EXPECT_EQ(35, visited);
}

TEST(PixelAccess, PositionsOutsideTheBitmapAreRefused)
{
    auto bitmap = owned(new CBitmap(4, 3));
    CBitmapPixelAccess access(bitmap);
    EXPECT_TRUE(access.setPosition(3, 2));
    EXPECT_FALSE(access.setPosition(4, 0));
    EXPECT_FALSE(access.setPosition(0, 3));
    EXPECT_FALSE(access.setPosition(static_cast<uint32>(-1), 0));
    EXPECT_EQ(3u, access.getX()) << "a refused position leaves the last one";
    EXPECT_FALSE(CBitmapPixelAccess(nullptr).isValid());
    EXPECT_EQ(nullptr, CBitmapPixelAccess::create(nullptr));
    auto empty = owned(new CBitmap(0, 0));
    EXPECT_EQ(nullptr, CBitmapPixelAccess::create(empty));
}

TEST(PixelAccess, ColoursRoundTripAndReachTheBitmapOnRelease)
{
    struct Case
    {
        CColor color;
        int tolerance; // stored premultiplied: straight colours lose precision as alpha falls
    };
    const Case cases[] = {{{220, 255, 220, 255}, 0}, {{1, 2, 3, 255}, 0},       {{110, 191, 110, 191}, 1},
                          {{200, 100, 50, 128}, 1},  {{255, 255, 255, 40}, 3}, {{0, 0, 0, 0}, 0}};
    auto bitmap = owned(new CBitmap(6, 1));
    {
        CBitmapPixelAccess access(bitmap);
        for (uint32 i = 0; i < 6; ++i)
        {
            access.setPosition(i, 0);
            access.setColor(cases[i].color);
        }
    }
    CBitmapPixelAccess reader(bitmap);
    for (uint32 i = 0; i < 6; ++i)
    {
        reader.setPosition(i, 0);
        CColor c;
        reader.getColor(c);
        EXPECT_EQ(cases[i].color.alpha, c.alpha) << i;
        EXPECT_LE(std::abs(cases[i].color.red - c.red), cases[i].tolerance) << i;
        EXPECT_LE(std::abs(cases[i].color.green - c.green), cases[i].tolerance) << i;
        EXPECT_LE(std::abs(cases[i].color.blue - c.blue), cases[i].tolerance) << i;
    }

    // Drawn over black, an opaque pixel shows exactly its colour.
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 6, 1);
    cairo_t* cr = cairo_create(target);
    {
        CDrawContext context(cr);
        context.drawBitmap(bitmap, CRect(0, 0, 6, 1));
    }
    cairo_destroy(cr);
    cairo_surface_flush(target);
    const auto* pixels = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(target));
    EXPECT_EQ(0xdcffdcu, pixels[0] & 0xffffff);
    cairo_surface_destroy(target);
}

TEST(Bitmap, LoadsAPngAndReportsAMissingFile)
{
    const std::string path = testing::TempDir() + "/two_frames.png";
    cairo_surface_t* strip = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 8);
    cairo_t* cr = cairo_create(strip);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 0, 4, 4, 4);
    cairo_fill(cr);
    cairo_destroy(cr);
    ASSERT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_write_to_png(strip, path.c_str()));
    cairo_surface_destroy(strip);

    auto bitmap = owned(new CBitmap(path));
    ASSERT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(4, bitmap->getWidth());
    EXPECT_EQ(8, bitmap->getHeight());
    CBitmapPixelAccess access(bitmap);
    CColor top, bottom;
    access.setPosition(1, 1);
    access.getColor(top);
    access.setPosition(1, 5);
    access.getColor(bottom);
    EXPECT_EQ(0, top.alpha);
    EXPECT_EQ(CColor(255, 0, 0, 255), bottom);

    EXPECT_FALSE(owned(new CBitmap(testing::TempDir() + "/no_such.png"))->isLoaded());
}

} // namespace
