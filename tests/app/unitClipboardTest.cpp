#include "editor/unitClipboard.h"

#include <windows.h>

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "forms/Clipboard.h"
#include "forms/Handles.h"
#include "tests/support/HelperProcess.h"

using namespace helper_process;

namespace {

std::string PeerReport() {
    const std::wstring report = ReportPath(L"clipboard-peer");
    DeleteFileW(report.c_str());
    EXPECT_EQ(RunHelper(L"ClipboardPeer", L"read \"" + report + L"\""), 0);
    std::string text = ReadText(report);
    DeleteFileW(report.c_str());
    return text;
}

// Puts a standard bitmap of opaque colours and a hand-made alpha block beside it, as a
// program might that replaced only the bitmap.
void PutBitmapWithBlock(std::vector<DWORD> colours, const std::vector<std::uint8_t>& block) {
    const TWindowDC screen(nullptr);
    const int width = static_cast<int>(colours.size());
    TGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), width, 1));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBits(screen.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, 1, colours.data(), &info, DIB_RGB_COLORS);
    TGlobalMem memory(GlobalAlloc(GMEM_MOVEABLE, block.size()));
    std::memcpy(GlobalLock(memory.Get()), block.data(), block.size());
    GlobalUnlock(memory.Get());
    TClipboardSession clipboard;
    clipboard.Clear();
    clipboard.SetData(CF_BITMAP, bitmap.Release());
    clipboard.SetData(ClipboardFormatAlpha(), memory.Release());
    clipboard.Close();
}

TBitmap32 Transparencies() {
    TBitmap32 picture(3, 1);
    picture.SetPixel(0, 0, 0x00FF0000u); // fully transparent, colour kept
    picture.SetPixel(1, 0, 0x80204060u);
    picture.SetPixel(2, 0, 0xFF0A0B0Cu);
    return picture;
}

} // namespace

TEST(unitClipboard, CopyGivesOtherProgramsTheColoursAndPasteBringsBackTheAlpha) {
    const TBitmap32 picture = Transparencies();
    CopyBitmap32ToClipboard(picture);
    EXPECT_EQ(PeerReport(), "bitmap 3 1\ncolours FF0000 204060 0A0B0C\nalpha 03 00 00 00 00 80 FF\n");
    EXPECT_EQ(GetClipboardOwner(), ClipboardOwnerWindow());
    ASSERT_TRUE(ClipboardHasBitmap());
    TBitmap32 pasted(1, 1);
    PasteBitmap32FromClipboard(pasted);
    EXPECT_EQ(pasted, picture);
}

TEST(unitClipboard, CopyTakesTheOwnerWindowItIsGiven) {
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    CopyBitmap32ToClipboard(TBitmap32(2, 2, 0xFF000000u), owner);
    EXPECT_EQ(GetClipboardOwner(), owner);
    // The clipboard's data outlives its owner window.
    DestroyWindow(owner);
    TBitmap32 pasted;
    PasteBitmap32FromClipboard(pasted);
    EXPECT_EQ(pasted, TBitmap32(2, 2, 0xFF000000u));
}

TEST(unitClipboard, APictureFromAnotherProgramPastesOpaque) {
    CopyBitmap32ToClipboard(Transparencies()); // an alpha block that the other program's copy removes
    ASSERT_EQ(RunHelper(L"ClipboardPeer", L"put 2 1 102030 A0B0C0"), 0);
    ASSERT_TRUE(ClipboardHasBitmap());
    TBitmap32 pasted;
    PasteBitmap32FromClipboard(pasted);
    ASSERT_EQ(pasted.Width(), 2);
    ASSERT_EQ(pasted.Height(), 1);
    EXPECT_EQ(pasted.Pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(pasted.Pixel(1, 0), 0xFFA0B0C0u);
}

TEST(unitClipboard, PasteWithoutAStandardBitmapLeavesThePictureAlone) {
    ASSERT_EQ(RunHelper(L"ClipboardPeer", L"text \"just text\""), 0);
    EXPECT_FALSE(ClipboardHasBitmap());
    TBitmap32 picture(2, 2, 0x12345678u);
    PasteBitmap32FromClipboard(picture);
    EXPECT_EQ(picture, TBitmap32(2, 2, 0x12345678u));
}

TEST(unitClipboard, AnAlphaBlockThatDoesNotFitTheBitmapRaisesTheAssertionAndLeavesItOpaque) {
    const std::vector<std::vector<std::uint8_t>> blocks = {
        {3, 0, 0, 0, 1, 2, 3},    // the count of another picture
        {0xFF, 0xFF, 0xFF, 0xFF}, // a huge count and nothing behind it
        {2, 0, 0},                // not even a whole count
    };
    for (const auto& block : blocks) {
        PutBitmapWithBlock({0x102030, 0x405060}, block);
        TBitmap32 pasted(5, 5);
        try {
            PasteBitmap32FromClipboard(pasted);
            ADD_FAILURE() << "no error for a block of " << block.size() << " bytes";
        } catch (const EAssertionFailed& e) {
            EXPECT_EQ(e.Message().rfind(kAlphaCountMismatch, 0), 0u);
        }
        ASSERT_EQ(pasted.Width(), 2);
        EXPECT_EQ(pasted.Pixel(0, 0), 0xFF102030u);
        EXPECT_EQ(pasted.Pixel(1, 0), 0xFF405060u);
    }
    // A block that fits is taken, whatever the memory block's rounding.
    PutBitmapWithBlock({0x102030, 0x405060}, {2, 0, 0, 0, 0x00, 0x7F});
    TBitmap32 pasted;
    PasteBitmap32FromClipboard(pasted);
    EXPECT_EQ(pasted.Pixel(0, 0), 0x00102030u);
    EXPECT_EQ(pasted.Pixel(1, 0), 0x7F405060u);
}

TEST(unitClipboard, AnEmptyPictureLeavesNothingToPaste) {
    CopyBitmap32ToClipboard(TBitmap32());
    EXPECT_FALSE(ClipboardHasBitmap());
    EXPECT_EQ(PeerReport(), "bitmap none\nalpha 00 00 00 00\n");
}

TEST(unitClipboard, TheAlphaFormatIsRegisteredOnceUnderItsName) {
    const std::uint16_t format = ClipboardFormatAlpha();
    EXPECT_GE(format, 0xC000);
    EXPECT_EQ(ClipboardFormatAlpha(), format);
    EXPECT_EQ(RegisterClipboardFormatW(L"G32 Bitmap32 Alpha Channel"), format);
}

TEST(unitClipboard, RaiseLastClipboardErrorRaisesOnlyForASystemError) {
    SetLastError(0);
    EXPECT_NO_THROW(RaiseLastClipboardError());
    SetLastError(ERROR_ACCESS_DENIED);
    try {
        RaiseLastClipboardError();
        ADD_FAILURE() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), SysErrorMessage(ERROR_ACCESS_DENIED));
    }
}
