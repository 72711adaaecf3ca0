#pragma once
// Clipboard transfer of the editor's pictures with their transparency. Copy puts the
// standard bitmap (colours only, for every program) and beside it the private alpha block
// (format "G32 Bitmap32 Alpha Channel"); paste reads the standard bitmap and puts the alpha
// back when the block is there. A picture from another program pastes opaque.
#include <windows.h>

#include <string>

#include "core/Bitmap32.h"
#include "forms/Exceptions.h"

inline constexpr wchar_t kClipboardFormatAlphaName[] = L"G32 Bitmap32 Alpha Channel";
inline constexpr wchar_t kAlphaCountMismatch[] =
    L"Alpha Count does not match Bitmap pixel Count, PasteBitmap32FromClipboard(const Dest: TBitmap32);";

// A broken assumption about data the program was handed: here an alpha block that does not
// belong to the standard bitmap beside it.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

// Puts the picture on the clipboard: empties it, then puts the standard bitmap and the alpha
// block, all while it is open once. An empty picture leaves only its alpha block (count 0),
// so that nothing pasteable remains. Every failure throws; the clipboard is closed.
void CopyBitmap32ToClipboard(const TBitmap32& source, HWND owner = nullptr);

// When the clipboard holds a standard bitmap, dest becomes that picture, opaque, and takes
// its alpha from the alpha block when there is one; without a standard bitmap dest is left
// alone. An alpha block that does not fit the bitmap throws EAssertionFailed after dest
// was given the opaque picture.
void PasteBitmap32FromClipboard(TBitmap32& dest, HWND owner = nullptr);

// Whether the clipboard holds a standard bitmap (the Paste command's enable test).
bool ClipboardHasBitmap();

// The alpha format's identifier, registered with the system on the first call.
std::uint16_t ClipboardFormatAlpha();

// Throws the system's text for the last error code; returns when that code is 0.
void RaiseLastClipboardError();
