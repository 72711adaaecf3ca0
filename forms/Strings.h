#pragma once
// Text helpers of the window layer: code pages and UTF-16, case-insensitive comparison.
#include <optional>
#include <string>
#include <string_view>

// Bytes of a code page (CP_ACP, CP_UTF8, ...) decoded; with strict, nothing when they are
// not valid in it, else invalid bytes become replacement characters.
std::optional<std::wstring> DecodeCodePage(unsigned codePage, std::string_view bytes, bool strict);
// Text encoded in a code page; nothing when a character has no exact equivalent there
// (no best-fit look-alikes). UTF-8 holds every character.
std::optional<std::string> EncodeCodePage(unsigned codePage, std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// Compares without regard to case, as the system compares names (CompareStringOrdinal).
bool SameText(std::wstring_view a, std::wstring_view b);
// The user locale's thousands separator; empty where the locale groups digits without one.
std::wstring LocaleThousandsSeparator();
// Key text of a shortcut value ("Ctrl+Shift+F1"), empty for 0.
std::wstring ShortCutToText(unsigned short shortCut);
