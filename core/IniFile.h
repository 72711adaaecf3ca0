#pragma once
// Reader of INI text (language files): sections of "key=value" lines, read the way the
// Windows profile reader reads them, but with no limit on the number of keys.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Case-insensitive equality of names (ASCII letters folded), as section, key and
// component names are compared.
bool SameIniName(std::wstring_view a, std::wstring_view b);

class TIniReader {
public:
    // The longest value handed out; the rest of a longer value is cut off.
    static constexpr std::size_t kMaxValueLength = 2047;

    TIniReader() = default;
    // Parses already decoded text. Lines end in LF, CR LF or CR; a line whose first
    // non-blank character is ";" is a comment; a line without "=" inside a section is
    // ignored; lines before the first section header belong to no section.
    explicit TIniReader(std::wstring_view text);

    bool SectionExists(std::wstring_view section) const;
    // Key names of the section in file order (duplicates included); empty when the section
    // is missing. Only the first section of a name counts, as with the profile reader.
    std::vector<std::wstring> ReadSection(std::wstring_view section) const;
    // The value of the first occurrence of the key, or defaultValue when the section or key
    // is missing.
    std::wstring ReadString(std::wstring_view section, std::wstring_view key,
                            std::wstring_view defaultValue = {}) const;

private:
    struct TEntry {
        std::wstring Key;
        std::wstring Value;
    };
    struct TSection {
        std::wstring Name;
        std::vector<TEntry> Entries;
    };
    const TSection* FindSection(std::wstring_view section) const;

    std::vector<TSection> sections_;
};
