#pragma once
// Text helpers of the window layer: UTF-8 and UTF-16, case-insensitive comparison.
#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Compares without regard to case, as the system compares names (CompareStringOrdinal).
bool SameText(std::wstring_view a, std::wstring_view b);
// Key text of a shortcut value ("Ctrl+Shift+F1"), empty for 0.
std::wstring ShortCutToText(unsigned short shortCut);
