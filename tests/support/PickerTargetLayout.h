#pragma once
// The dialog of the PickerTarget helper: where it lies, its button, and their colours, so
// that tests can point at them and check the captured pictures pixel by pixel.
#include <windows.h>

namespace picker_target {

inline constexpr wchar_t kClassName[] = L"TolvexPickerTarget";
inline constexpr wchar_t kTitle[] = L"Picker Target";
// The dialog's outer rectangle on the screen.
inline constexpr RECT kDialogRect{200, 150, 600, 450};
// The button, in the dialog's client coordinates.
inline constexpr int kButtonId = 100;
inline constexpr RECT kButtonClientRect{60, 80, 220, 140};
// Both are painted in one colour each (COLORREF values, 0x00BBGGRR).
inline constexpr COLORREF kDialogColor = 0x00C07830;
inline constexpr COLORREF kButtonColor = 0x00A028C8;

} // namespace picker_target
