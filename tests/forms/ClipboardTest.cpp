#include "forms/Clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "forms/Exceptions.h"
#include "forms/Graphics.h"
#include "forms/Handles.h"
#include "tests/support/HelperProcess.h"

using namespace helper_process;

namespace {

// A 24-bit picture of the given colours (0xRRGGBB), one row, as the capture delivers it.
TBitmap Row24(std::initializer_list<DWORD> colours) {
    TBitmap bitmap(static_cast<int>(colours.size()), 1, TPixelFormat::pf24bit);
    std::uint8_t* out = bitmap.ScanLine(0);
    for (DWORD c : colours) {
        *out++ = static_cast<BYTE>(c);
        *out++ = static_cast<BYTE>(c >> 8);
        *out++ = static_cast<BYTE>(c >> 16);
    }
    return bitmap;
}

std::string PeerReport() {
    const std::wstring report = ReportPath(L"clipboard-peer");
    DeleteFileW(report.c_str());
    EXPECT_EQ(RunHelper(L"ClipboardPeer", L"read \"" + report + L"\""), 0);
    std::string text = ReadText(report);
    DeleteFileW(report.c_str());
    return text;
}

// A helper holding the clipboard open; returns once it has it.
struct THeldClipboard {
    explicit THeldClipboard(int milliseconds)
        : ready(CreateEventW(nullptr, TRUE, FALSE, L"TolvexClipboardPeerReady")),
          peer(L"\"" + HelperExe(L"ClipboardPeer") + L"\" hold " + std::to_wstring(milliseconds) +
               L" TolvexClipboardPeerReady") {
        held = peer.Started() && WaitPumping(ready.Get(), deadlines::kStateTicks);
    }
    TKernelHandle ready;
    TProcess peer;
    bool held = false;
};

} // namespace

TEST(Clipboard, AnAssignedBitmapReplacesEverythingAndOtherProgramsReadItsColours) {
    ASSERT_EQ(RunHelper(L"ClipboardPeer", L"text \"earlier text\""), 0);
    const TBitmap picture = Row24({0x102030, 0xA0B0C0, 0xFFFFFF});
    ClipboardAssignBitmap(picture);
    EXPECT_EQ(PeerReport(), "bitmap 3 1\ncolours 102030 A0B0C0 FFFFFF\nalpha none\n");
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    // The clipboard got a copy: the caller's picture is still its own and intact.
    EXPECT_EQ(picture.ScanLine(0)[3], 0xC0);
    {
        TClipboardSession clipboard;
        EXPECT_NE(clipboard.GetData(CF_BITMAP), picture.Handle());
    }
    // Emptied with an owner window, so the clipboard has an owner that answers for it.
    EXPECT_EQ(GetClipboardOwner(), ClipboardOwnerWindow());
    // An empty picture leaves nothing behind.
    ClipboardAssignBitmap(TBitmap());
    EXPECT_EQ(PeerReport(), "bitmap none\nalpha none\n");
}

TEST(Clipboard, OpeningWaitsForAProgramThatHoldsTheClipboardBriefly) {
    THeldClipboard other(150);
    ASSERT_TRUE(other.held);
    const TBitmap picture = Row24({0x00FF00});
    EXPECT_NO_THROW(ClipboardAssignBitmap(picture));
    EXPECT_EQ(other.peer.Wait(), 0);
    EXPECT_EQ(PeerReport(), "bitmap 1 1\ncolours 00FF00\nalpha none\n");
}

TEST(Clipboard, OpeningFailsWithAClearErrorWhileTheClipboardStaysBusy) {
    const TBitmap before = Row24({0x123456});
    ClipboardAssignBitmap(before);
    {
        THeldClipboard other(2000);
        ASSERT_TRUE(other.held);
        const TBitmap picture = Row24({0x00FF00});
        try {
            ClipboardAssignBitmap(picture);
            ADD_FAILURE() << "no error while another program held the clipboard";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message().rfind(L"The clipboard cannot be opened", 0), 0u);
        }
        EXPECT_EQ(other.peer.Wait(), 0);
    }
    // Nothing was changed by the failed attempt.
    EXPECT_EQ(PeerReport(), "bitmap 1 1\ncolours 123456\nalpha none\n");
}

TEST(Clipboard, ASessionGivesNullForAbsentFormatsAndClosesOnItsOwn) {
    const TBitmap picture = Row24({0x010203});
    ClipboardAssignBitmap(picture);
    {
        TClipboardSession clipboard;
        EXPECT_TRUE(clipboard.HasFormat(CF_BITMAP));
        EXPECT_NE(clipboard.GetData(CF_BITMAP), nullptr);
        EXPECT_EQ(clipboard.GetData(CF_UNICODETEXT), nullptr);
        // Left without Close: the destructor closes it.
    }
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    TClipboardSession again;
    again.Close();
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_NO_THROW(again.Close());
}

TEST(Clipboard, ErrorsCarryTheSystemTextOrTheActionAlone) {
    SetLastError(ERROR_ACCESS_DENIED);
    try {
        RaiseClipboardError(L"The clipboard cannot be opened");
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), DWORD{ERROR_ACCESS_DENIED});
        EXPECT_EQ(e.Message(), L"The clipboard cannot be opened: " + SysErrorMessage(ERROR_ACCESS_DENIED));
    }
    SetLastError(0);
    try {
        RaiseClipboardError(L"The clipboard cannot be closed");
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"The clipboard cannot be closed.");
    }
    // Unlocking a block whose last lock goes is no failure; unlocking one not locked is.
    TGlobalMem block(GlobalAlloc(GMEM_MOVEABLE, 8));
    ASSERT_NE(GlobalLock(block.Get()), nullptr);
    EXPECT_NO_THROW(UnlockClipboardMemory(block.Get()));
    EXPECT_THROW(UnlockClipboardMemory(block.Get()), EOSError);
}
