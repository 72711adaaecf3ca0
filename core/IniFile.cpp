#include "core/IniFile.h"

namespace {

wchar_t FoldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Blanks dropped around section names, keys and values; 0x1A is the old end-of-file mark
// that some editors leave at the end of a text file.
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0x1A;
}

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A value wholly enclosed in a pair of equal quotation marks loses them; then it is cut to
// the longest value handed out, never leaving half of a surrogate pair at its end.
std::wstring CleanValue(std::wstring_view v) {
    if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (v.size() > TIniReader::kMaxValueLength) {
        v = v.substr(0, TIniReader::kMaxValueLength);
        if constexpr (sizeof(wchar_t) == 2) {
            if (v.back() >= 0xD800 && v.back() <= 0xDBFF)
                v.remove_suffix(1);
        }
    }
    return std::wstring(v);
}

} // namespace

bool SameIniName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

TIniReader::TIniReader(std::wstring_view text) {
    // A byte-order mark left by the decoder is not part of the first line.
    if (!text.empty() && text.front() == 0xFEFF)
        text.remove_prefix(1);
    // Keys go to the last section opened, while that header was sound.
    bool inSection = false;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(L"\r\n");
        std::wstring_view line = text.substr(0, end);
        if (end == std::wstring_view::npos) {
            text = {};
        } else {
            const std::size_t next =
                (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? end + 2 : end + 1;
            text.remove_prefix(next);
        }
        line = Trim(line);
        if (line.empty() || line.front() == L';')
            continue;
        if (line.front() == L'[') {
            // A header without its closing bracket is damaged: the keys after it belong to
            // no section, rather than to the section before it.
            const std::size_t close = line.rfind(L']');
            if (close == std::wstring_view::npos) {
                inSection = false;
                continue;
            }
            sections_.push_back({std::wstring(Trim(line.substr(1, close - 1))), {}});
            inSection = true;
            continue;
        }
        const std::size_t eq = line.find(L'=');
        if (!inSection || eq == std::wstring_view::npos)
            continue;
        const std::wstring_view key = Trim(line.substr(0, eq));
        if (key.empty())
            continue;
        sections_.back().Entries.push_back({std::wstring(key), CleanValue(Trim(line.substr(eq + 1)))});
    }
}

const TIniReader::TSection* TIniReader::FindSection(std::wstring_view section) const {
    for (const TSection& s : sections_) {
        if (SameIniName(s.Name, section))
            return &s;
    }
    return nullptr;
}

bool TIniReader::SectionExists(std::wstring_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::wstring> TIniReader::ReadSection(std::wstring_view section) const {
    std::vector<std::wstring> keys;
    if (const TSection* s = FindSection(section)) {
        keys.reserve(s->Entries.size());
        for (const TEntry& e : s->Entries)
            keys.push_back(e.Key);
    }
    return keys;
}

std::wstring TIniReader::ReadString(std::wstring_view section, std::wstring_view key,
                                    std::wstring_view defaultValue) const {
    if (const TSection* s = FindSection(section)) {
        for (const TEntry& e : s->Entries) {
            if (SameIniName(e.Key, key))
                return e.Value;
        }
    }
    return std::wstring(defaultValue);
}
