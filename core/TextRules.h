#pragma once
// Small rules for text that the program reads from files and stored settings: which
// characters are blanks, trimming, letter case, enclosing quotes, whole numbers and line
// breaks.
// Letter case is folded for ASCII only: every name and word compared this way is ASCII,
// and a rule that does not depend on the system's locale reads a file the same everywhere.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which characters count as blanks around names and values.
enum class TBlanks : std::uint8_t {
    // Space and tab (the settings file, stored numbers and booleans).
    SpaceTab = 0,
    // Also CR, LF, VT, FF and 0x1A, the old end-of-file mark that some editors leave at the
    // end of a text file (the language files).
    SpaceTabAndControls = 1,
};

bool IsBlank(wchar_t c, TBlanks blanks = TBlanks::SpaceTab);
// The text without the blanks at either end.
std::wstring_view TrimBlanks(std::wstring_view text, TBlanks blanks = TBlanks::SpaceTab);

// ASCII letters folded to upper case; every other character stays.
wchar_t FoldAsciiCase(wchar_t c);
// Equality with ASCII letter case ignored.
bool SameAsciiText(std::wstring_view a, std::wstring_view b);

// Whether the text is wholly enclosed in one pair of equal quotation marks (" or ').
bool IsEnclosedInQuotes(std::wstring_view text);
// The text without one enclosing pair of quotation marks, or as it is when it has none.
std::wstring_view StripEnclosingQuotes(std::wstring_view text);

// A decimal whole number with an optional sign and nothing else around it; nothing when
// the text is not one or lies outside 32 bits.
std::optional<std::int32_t> ParseDecimalInt32(std::wstring_view text);

// The lines of a text, broken at CR LF, CR or LF; a final line break does not add an
// empty line. The views point into text.
std::vector<std::wstring_view> LineViews(std::wstring_view text);
// The same lines as strings of their own, as a list control takes them.
std::vector<std::wstring> SplitLines(std::wstring_view text);
