#pragma once
// How one line of INI text reads: a section header, a key line, or neither (a blank or
// comment line), with its name and value. The settings document and the language-file
// reader both read lines this way; where their rules differ on purpose, the syntax given
// says which rule applies, and what each does with a header missing its "]" or a key line
// without "=" is left to it.
#include <cstdint>
#include <string_view>

#include "core/TextRules.h"

struct TIniSyntax {
    // What is trimmed around names and values.
    TBlanks Blanks;
    // Whether a section name ends at the header's last "]" ("[a]b]" names "a]b", as the
    // system's profile reader takes it) or at its first ("[a]b]" names "a").
    bool NameEndsAtLastBracket;
};

enum class TIniLineKind : std::uint8_t { Other = 0, Section = 1, Key = 2 };

struct TIniLine {
    TIniLineKind Kind = TIniLineKind::Other;
    // The section name or the key, trimmed. A header without "]" names the rest of its line.
    std::wstring_view Name;
    // A key's value, trimmed and without one enclosing pair of quotes; empty without "=".
    std::wstring_view Value;
    // A section header holds its closing "]".
    bool Closed = false;
    // A key line holds "=".
    bool HasEquals = false;
};

// A line whose first non-blank character is ";" is a comment. The views point into line.
TIniLine ClassifyIniLine(std::wstring_view line, const TIniSyntax& syntax);
