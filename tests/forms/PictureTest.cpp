#include "forms/Picture.h"

#include <windows.h>

#include "FormsTestSupport.h"
#include "forms/Graphics.h"

namespace {
COLORREF PixelOf(const TPicture& picture, int x, int y) {
    TBitmap target(picture.Width(), picture.Height(), TPixelFormat::pf32bit);
    picture.Draw(target.Canvas(), RECT{0, 0, picture.Width(), picture.Height()});
    return GetPixel(target.Canvas(), x, y);
}
} // namespace

TEST_F(FormsTest, APictureKeepsItsOwnCopyOfTheBitmapItWasGiven) {
    TBitmap source(3, 2, TPixelFormat::pf24bit);
    SetPixel(source.Canvas(), 2, 1, RGB(255, 0, 0));
    TPicture picture;
    EXPECT_FALSE(picture.HasGraphic());
    picture.Assign(source);
    ASSERT_TRUE(picture.HasGraphic());
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    // Drawing on the source afterwards does not reach the picture, nor its copies.
    SetPixel(source.Canvas(), 2, 1, RGB(0, 0, 255));
    const TPicture copy = picture;
    EXPECT_EQ(PixelOf(picture, 2, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(copy, 2, 1), RGB(255, 0, 0));
    EXPECT_NE(copy.Bitmap(), picture.Bitmap());

    TPicture fromHandle;
    fromHandle.SetBitmap(picture.Bitmap());
    EXPECT_EQ(fromHandle.Width(), 3);
    fromHandle.SetBitmap(nullptr);
    EXPECT_FALSE(fromHandle.HasGraphic());
    picture.Assign(TBitmap());
    EXPECT_FALSE(picture.HasGraphic());
}
