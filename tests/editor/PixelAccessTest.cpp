#include "gui/CBitmap.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

namespace {

// Reading, writing and walking the pixels is the scope view's fade and plot,
// tested there, as is loading a PNG (every picture of the editor); here what
// the editor never sends.
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
    // A resource that is not there leaves an empty bitmap, not a crash.
    auto missing = owned(new CBitmap(testing::TempDir() + "/no_such.png"));
    EXPECT_FALSE(missing->isLoaded());
    EXPECT_FALSE(CBitmapPixelAccess(missing).isValid());
}

} // namespace
