#include "gui/CBitmap.h"

#include <cairo.h>
#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

// Reading, writing and walking the pixels is the scope view's fade and plot,
// tested there; here what the view never sends.
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
