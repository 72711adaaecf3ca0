#pragma once
// An INI file held in memory for reading and rewriting: every line of the file is kept as
// it was (comments, blank lines, other sections, unknown keys), a written key changes
// only its own line, and keys new to a section are added after its last entry in the
// order they are written. Sections and keys are compared without regard to case; blanks
// around keys and values are dropped on reading, and a value wholly enclosed in one pair
// of single or double quotes loses them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIniDocument {
public:
    TIniDocument() = default;
    // Splits decoded text into lines at CR LF, LF or CR.
    explicit TIniDocument(std::wstring_view text);

    std::optional<std::wstring> Read(std::wstring_view section, std::wstring_view key) const;
    // Sets a key's value, adding the key, and the section after the last line, when missing.
    // A value that reading would change (blanks around it, enclosing quotes) is written
    // in double quotes so that it reads back exactly; line breaks in it become blanks,
    // since one value can only span one line.
    void Write(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    // The keys of a section in file order (the first section of that name).
    std::vector<std::wstring> Keys(std::wstring_view section) const;
    bool HasSection(std::wstring_view section) const;

    // The whole file, lines ended with CR LF.
    std::wstring Text() const;

private:
    // Line index of the first section header of that name, or npos.
    std::size_t FindSection(std::wstring_view section) const;
    // Line index of a key inside the section that starts at header, or npos.
    std::size_t FindKey(std::size_t header, std::wstring_view key) const;
    // One past the section's last key or other non-blank line.
    std::size_t SectionEnd(std::size_t header) const;

    std::vector<std::wstring> lines_;
};
