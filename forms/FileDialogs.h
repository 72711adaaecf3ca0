#pragma once
// The system's open and save dialogs for picture files. Tests answer them through
// FileDialogHook instead of the modal system window.
#include <windows.h>

#include <functional>
#include <string>

class TFileDialog {
public:
    enum class TKind : std::uint8_t { Open, Save };
    explicit TFileDialog(TKind kind) : kind_(kind) {}
    TKind Kind() const { return kind_; }

    // Pairs of description and pattern separated by "|", as "Bitmaps (*.bmp)|*.bmp".
    std::wstring Filter;
    // 1-based; the dialog writes back the filter chosen at closing.
    int FilterIndex = 1;
    // The proposed name before, the chosen full path after.
    std::wstring FileName;
    // Runs the dialog; false when cancelled (FileName then stays as it was).
    bool Execute(HWND owner);

private:
    TKind kind_;
};

// When set, Execute calls it instead of showing the system dialog.
extern std::function<bool(TFileDialog& dialog)> FileDialogHook;

// The filter of the open dialog: every picture type the program reads.
inline constexpr wchar_t kOpenPictureFilter[] =
    L"All pictures (*.bmp;*.gif;*.jpg;*.jpeg;*.png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|Bitmaps (*.bmp)|*.bmp|"
    L"CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg,*.jpeg)|*.jpg;*.jpeg|"
    L"Portable Network Graphics (*.png)|*.png|All files (*.*)|*.*";
