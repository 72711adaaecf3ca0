#include "editor/unitClipboard.h"

#include <windows.h>

#include <cstdlib>

#include "core/AlphaBlock.h"
#include "forms/Clipboard.h"
#include "forms/Graphics.h"
#include "forms/Handles.h"

namespace {

// The picture's colours as a device-dependent bitmap, by way of a 24-bit bitmap so that no
// alpha reaches the standard format.
TGdiObject ColourBitmap(const TBitmap32& source) {
    TBitmap colours;
    AssignFromBitmap32(colours, source);
    colours.SetPixelFormat(TPixelFormat::pf24bit);
    return ClipboardBitmapOf(colours);
}

// The picture's alpha block in a global memory block, ready to be handed to the clipboard.
TGlobalMem AlphaBlockMemory(const TBitmap32& source) {
    const std::size_t size = AlphaBlockSize(source);
    TGlobalMem block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block)
        RaiseClipboardError(L"No memory for the clipboard's alpha data");
    void* data = GlobalLock(block.Get());
    if (!data)
        RaiseClipboardError(L"The clipboard's alpha data cannot be written");
    WriteAlphaBlock(source, {static_cast<std::uint8_t*>(data), size});
    UnlockClipboardMemory(block.Get());
    return block;
}

// Reads a standard bitmap as an opaque picture.
TBitmap32 ReadStandardBitmap(HBITMAP bitmap) {
    BITMAP header{};
    if (!GetObjectW(bitmap, sizeof header, &header))
        RaiseClipboardError(L"The clipboard's picture cannot be read");
    const int width = header.bmWidth;
    const int height = std::abs(header.bmHeight);
    if (!TBitmap32::ValidSize(width, height))
        throw Exception(L"The clipboard's picture is too large.");
    TBitmap32 picture(width, height);
    if (!picture.Empty()) {
        const TWindowDC screen(nullptr);
        // Read as 32-bit pixels stored top-down, as TBitmap32 keeps them.
        BITMAPINFO info = TopDownBitmapInfo(width, height);
        if (!screen || GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), picture.Bits(), &info,
                                 DIB_RGB_COLORS) != height)
            RaiseClipboardError(L"The clipboard's picture cannot be read");
    }
    picture.ResetAlpha();
    return picture;
}

// Puts the alpha block's bytes into the picture; false when the block does not fit it.
bool ApplyClipboardAlpha(HANDLE data, TBitmap32& picture) {
    const auto block = static_cast<HGLOBAL>(data);
    const void* bytes = GlobalLock(block);
    if (!bytes)
        RaiseClipboardError(L"The clipboard's alpha data cannot be read");
    // The block's real size bounds every read, whatever count it claims.
    const bool fits = ApplyAlphaBlock({static_cast<const std::uint8_t*>(bytes), GlobalSize(block)}, picture);
    UnlockClipboardMemory(block);
    return fits;
}

} // namespace

void RaiseLastClipboardError() {
    if (const DWORD code = GetLastError())
        RaiseOSError(code);
}

std::uint16_t ClipboardFormatAlpha() {
    static std::uint16_t format = 0;
    if (format == 0) {
        const UINT registered = RegisterClipboardFormatW(kClipboardFormatAlphaName);
        if (registered == 0)
            RaiseClipboardError(L"The clipboard format for transparency cannot be registered");
        format = static_cast<std::uint16_t>(registered);
    }
    return format;
}

bool ClipboardHasBitmap() {
    return IsClipboardFormatAvailable(CF_BITMAP) != 0;
}

void CopyBitmap32ToClipboard(const TBitmap32& source, HWND owner) {
    const UINT alphaFormat = ClipboardFormatAlpha();
    // Everything is made before the clipboard is opened, so that it is held only briefly.
    TGdiObject bitmap;
    if (!source.Empty())
        bitmap = ColourBitmap(source);
    TGlobalMem block = AlphaBlockMemory(source);

    TClipboardSession clipboard(owner);
    clipboard.Clear();
    if (bitmap) {
        clipboard.SetData(CF_BITMAP, bitmap.Get());
        bitmap.Release();
    }
    clipboard.SetData(alphaFormat, block.Get());
    block.Release();
    clipboard.Close();
}

void PasteBitmap32FromClipboard(TBitmap32& dest, HWND owner) {
    if (!ClipboardHasBitmap())
        return;
    const UINT alphaFormat = ClipboardFormatAlpha();
    // The bitmap and its alpha block are read while the clipboard is open once, so that no
    // other program can replace one between the two reads.
    TClipboardSession clipboard(owner);
    const HANDLE bitmap = clipboard.GetData(CF_BITMAP);
    if (!bitmap)
        return; // taken away between the test and the open
    TBitmap32 picture = ReadStandardBitmap(static_cast<HBITMAP>(bitmap));
    bool fits = true;
    if (const HANDLE alpha = clipboard.GetData(alphaFormat))
        fits = ApplyClipboardAlpha(alpha, picture);
    clipboard.Close();
    dest = std::move(picture);
    if (!fits)
        throw EAssertionFailed(std::wstring(kAlphaCountMismatch) + L" (unitClipboard.cpp, line " +
                               std::to_wstring(__LINE__) + L")");
}
