#include "forms/Graphics.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "forms/Exceptions.h"
#include "forms/Fonts.h"
#include "forms/Handles.h"

namespace {

void FillWith(HDC dc, RECT r, COLORREF color) {
    TGdiObject brush(CreateSolidBrush(color));
    ASSERT_TRUE(FillRect(dc, &r, static_cast<HBRUSH>(brush.Get())));
}

} // namespace

TEST(Graphics, DibPixelsAreSharedBetweenScanLinesAndTheCanvas) {
    for (auto format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap b(3, 2, format);
        const std::size_t bytes = format == TPixelFormat::pf24bit ? 3 : 4;
        // 3 pixels of 24 bits make 9 bytes, padded to 12; 3 of 32 bits make 12.
        EXPECT_EQ(b.ScanLineSize(), 12u);
        EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), 12);
        // Rows count from the top: B, G, R of pixel (2, 1).
        std::uint8_t* p = b.ScanLine(1) + 2 * bytes;
        p[0] = 0x30;
        p[1] = 0x20;
        p[2] = 0x10;
        EXPECT_EQ(GetPixel(b.Canvas(), 2, 1), RGB(0x10, 0x20, 0x30));
        EXPECT_EQ(GetPixel(b.Canvas(), 0, 0), RGB(0, 0, 0)) << "a new bitmap is black";

        FillWith(b.Canvas(), {0, 0, 1, 1}, RGB(200, 100, 50));
        const std::uint8_t* q = b.ScanLine(0);
        EXPECT_EQ(q[0], 50);
        EXPECT_EQ(q[1], 100);
        EXPECT_EQ(q[2], 200);
    }
}

TEST(Graphics, TwentyFourBitAndDevicePixelsBecomeOpaqueWhenCopiedToA32BitPicture) {
    TBitmap b24(2, 1, TPixelFormat::pf24bit);
    FillWith(b24.Canvas(), {0, 0, 1, 1}, RGB(255, 0, 0));
    FillWith(b24.Canvas(), {1, 0, 2, 1}, RGB(1, 2, 3));
    TBitmap32 out;
    AssignToBitmap32(b24, out);
    ASSERT_EQ(out.Width(), 2);
    EXPECT_EQ(out.Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(out.Pixel(1, 0), 0xFF010203u);

    TBitmap device(3, 2, TPixelFormat::pfDevice);
    FillWith(device.Canvas(), {1, 1, 3, 2}, RGB(0, 128, 255));
    AssignToBitmap32(device, out);
    ASSERT_EQ(out.Height(), 2);
    EXPECT_EQ(out.Pixel(0, 0), 0xFF000000u) << "a new device bitmap is black";
    EXPECT_EQ(out.Pixel(2, 1), 0xFF0080FFu);
    EXPECT_THROW(device.ScanLine(0), Exception) << "device pixels have no scan lines";
}

TEST(Graphics, ThirtyTwoBitBitmapsCarryAlphaBothWays) {
    TBitmap32 picture(2, 2);
    picture.SetPixel(0, 0, 0x00112233u);
    picture.SetPixel(1, 0, 0x80445566u);
    picture.SetPixel(0, 1, 0xFF778899u);
    picture.SetPixel(1, 1, 0x01AABBCCu);
    TBitmap b;
    AssignFromBitmap32(b, picture);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(b.ScanLine(0)[7], 0x80) << "alpha of pixel (1, 0)";
    TBitmap32 back;
    AssignToBitmap32(b, back);
    EXPECT_EQ(back, picture);

    // Into a bitmap of another format and size, the bitmap is remade to fit.
    TBitmap other(5, 5, TPixelFormat::pf24bit);
    AssignFromBitmap32(other, picture);
    EXPECT_EQ(other.Width(), 2);
    EXPECT_EQ(other.PixelFormat(), TPixelFormat::pf32bit);
}

TEST(Graphics, ChangingTheFormatKeepsThePictureAndResizingMakesANewOne) {
    TBitmap b(2, 1, TPixelFormat::pf24bit);
    FillWith(b.Canvas(), {1, 0, 2, 1}, RGB(10, 20, 30));
    b.SetPixelFormat(TPixelFormat::pfDevice);
    b.SetPixelFormat(TPixelFormat::pf32bit);
    TBitmap32 out;
    AssignToBitmap32(b, out);
    EXPECT_EQ(out.Pixel(1, 0) & 0x00FFFFFFu, 0x000A141Eu);

    // The canvas stays usable: the new bitmap is selected into the same device context.
    const HDC canvas = b.Canvas();
    b.SetSize(4, 3);
    EXPECT_EQ(b.Canvas(), canvas);
    EXPECT_EQ(GetPixel(canvas, 1, 0), RGB(0, 0, 0));
    FillWith(canvas, {3, 2, 4, 3}, RGB(9, 8, 7));
    EXPECT_EQ(b.ScanLine(2)[12], 7);

    b.SetSize(0, 0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), nullptr);
    AssignToBitmap32(b, out);
    EXPECT_TRUE(out.Empty());
}

TEST(Graphics, SizesOutsideTheLimitsAreRefusedAndTheBitmapStaysAsItWas) {
    TBitmap b(2, 2, TPixelFormat::pf24bit);
    EXPECT_THROW(b.SetSize(-1, 5), Exception);
    EXPECT_THROW(b.SetSize(TBitmap32::kMaxSide + 1, 1), Exception);
    EXPECT_THROW(b.SetSize(60000, 60000), Exception);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_NE(b.Handle(), nullptr);
    EXPECT_THROW(b.ScanLine(2), Exception);
    EXPECT_THROW(b.ScanLine(-1), Exception);
}

TEST(Graphics, AMovedBitmapKeepsItsPictureAndCanvas) {
    TBitmap a(2, 2, TPixelFormat::pf24bit);
    FillWith(a.Canvas(), {0, 0, 2, 2}, RGB(40, 50, 60));
    const HBITMAP handle = a.Handle();
    TBitmap b(std::move(a));
    EXPECT_EQ(b.Handle(), handle);
    EXPECT_EQ(GetPixel(b.Canvas(), 1, 1), RGB(40, 50, 60));
    EXPECT_TRUE(a.Empty()); // what is left behind is an empty bitmap
    TBitmap c(1, 1, TPixelFormat::pfDevice);
    c = std::move(b);
    EXPECT_EQ(c.Width(), 2);
    EXPECT_EQ(GetPixel(c.Canvas(), 0, 0), RGB(40, 50, 60));
}

TEST(Graphics, BitmapsOwnedElsewhereAreCopiedInAndOut) {
    TBitmap original(3, 2, TPixelFormat::pf24bit);
    FillWith(original.Canvas(), {2, 1, 3, 2}, RGB(70, 80, 90));

    // A copy for another owner is independent of the bitmap it came from.
    TGdiObject handed(original.CopyHandle());
    ASSERT_TRUE(handed);
    FillWith(original.Canvas(), {2, 1, 3, 2}, RGB(0, 0, 0));
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(handed.Get(), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);

    // Copying it back takes its size and keeps the receiving bitmap's format.
    TBitmap received(1, 1, TPixelFormat::pf32bit);
    received.Assign(static_cast<HBITMAP>(handed.Get()));
    EXPECT_EQ(received.Width(), 3);
    EXPECT_EQ(received.Height(), 2);
    EXPECT_EQ(received.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(GetPixel(received.Canvas(), 2, 1), RGB(70, 80, 90));

    EXPECT_THROW(received.Assign(nullptr), Exception);
    // A bitmap selected into another device context is refused, not copied as black.
    EXPECT_THROW(received.Assign(original.Handle()), Exception);
    EXPECT_EQ(received.Width(), 3);
    EXPECT_THROW(TBitmap().CopyHandle(), Exception);
}

namespace {
int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}
} // namespace

TEST(Graphics, TheCaptionButtonFontIsThereForTheTitleBars) {
    // The system draws minimise, maximise and close as letters of this font; without it
    // the title bars show "0 1 r".
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, L"Marlett", LF_FACESIZE);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(found);
}

TEST(Fonts, TheHangulSetIsKeptOnlyWhereTheChosenFaceStays) {
    const auto make = [](const wchar_t* face, BYTE charSet) {
        LOGFONTW lf{};
        lf.lfHeight = -16;
        lf.lfCharSet = charSet;
        lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
        return lf;
    };
    const auto charSetOf = [](HFONT font) {
        LOGFONTW lf{};
        GetObjectW(font, sizeof(lf), &lf);
        return lf.lfCharSet;
    };
    // A Korean face holds Hangul: the set stays and so does the face.
    TGdiObject korean(CreateFontKeepingFace(make(L"NanumGothic", HANGUL_CHARSET)));
    ASSERT_TRUE(korean);
    EXPECT_EQ(RealizedFaceName(static_cast<HFONT>(korean.Get())), L"NanumGothic");
    EXPECT_EQ(charSetOf(static_cast<HFONT>(korean.Get())), HANGUL_CHARSET);
    // A face without Hangul, which the Hangul set swaps for a Korean one, keeps its face in
    // the default set.
    LOGFONTW swapped = make(L"DejaVu Sans", HANGUL_CHARSET);
    const TGdiObject raw(CreateFontIndirectW(&swapped));
    ASSERT_NE(RealizedFaceName(static_cast<HFONT>(raw.Get())), L"DejaVu Sans");
    TGdiObject latin(CreateFontKeepingFace(swapped));
    ASSERT_TRUE(latin);
    EXPECT_EQ(RealizedFaceName(static_cast<HFONT>(latin.Get())), L"DejaVu Sans");
    EXPECT_EQ(charSetOf(static_cast<HFONT>(latin.Get())), DEFAULT_CHARSET);
}
