#pragma once
// The clipboard, held open for exactly one copy or paste.
#include <windows.h>

#include <string>

#include "forms/Handles.h"

class TBitmap;

// Opens the clipboard for the lifetime of the object and closes it on every path. Another
// program may hold the clipboard for a moment, so the open is retried for a short while
// before it fails with a clear error. The clipboard is opened for an owner window, so that
// emptying it makes that window the owner; without one given, the program's own hidden
// clipboard window is used.
class TClipboardSession {
public:
    static constexpr int kOpenTries = 20;
    static constexpr DWORD kOpenRetryDelay = 25; // milliseconds: half a second in all

    explicit TClipboardSession(HWND owner = nullptr);
    TClipboardSession(const TClipboardSession&) = delete;
    TClipboardSession& operator=(const TClipboardSession&) = delete;
    ~TClipboardSession();

    // Empties the clipboard and makes the owner window its owner.
    void Clear();
    bool HasFormat(UINT format) const;
    // The clipboard's data of a format, still owned by the clipboard; null when the
    // clipboard has none of it. A format that is there but cannot be read throws.
    HANDLE GetData(UINT format) const;
    // Hands the data to the clipboard, which owns it once this returns. On failure it
    // throws and the data stays the caller's.
    void SetData(UINT format, HANDLE data);
    // Closes the clipboard; a failure throws. The destructor closes quietly otherwise.
    void Close();

private:
    bool open_ = false;
};

// The program's hidden message-only window that owns what it puts on the clipboard.
HWND ClipboardOwnerWindow();

// Throws the error of a failed clipboard or memory call: the system's text for the last
// error code after `action`, or `action` alone when the system set no code.
[[noreturn]] void RaiseClipboardError(const std::wstring& action);

// Unlocks a global memory block; a zero result is a failure only when the system also set
// an error code other than "invalid parameter" (the block is simply no longer locked).
void UnlockClipboardMemory(HGLOBAL block);

// A device-dependent copy of the bitmap, as the clipboard takes a standard bitmap.
TGdiObject ClipboardBitmapOf(const TBitmap& bitmap);

// Puts a copy of the bitmap on the clipboard as its only content, a standard bitmap. An
// empty bitmap leaves the clipboard empty.
void ClipboardAssignBitmap(const TBitmap& bitmap, HWND owner = nullptr);
