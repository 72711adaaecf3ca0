#include "core/IniFile.h"

#include "core/TextRules.h"

namespace {

// Language files are edited with all kinds of editors: the control characters some of them
// leave around names and values are dropped with the blanks.
constexpr TBlanks kBlanks = TBlanks::SpaceTabAndControls;

// A value wholly enclosed in a pair of equal quotation marks loses them; then it is cut to
// the longest value handed out, never leaving half of a surrogate pair at its end.
std::wstring CleanValue(std::wstring_view v) {
    v = StripEnclosingQuotes(v);
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
    return SameAsciiText(a, b);
}

TIniReader::TIniReader(std::wstring_view text) {
    // A byte-order mark left by the decoder is not part of the first line.
    if (!text.empty() && text.front() == 0xFEFF)
        text.remove_prefix(1);
    // Keys go to the last section opened, while that header was sound.
    bool inSection = false;
    for (std::wstring_view line : LineViews(text)) {
        line = TrimBlanks(line, kBlanks);
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
            sections_.push_back({std::wstring(TrimBlanks(line.substr(1, close - 1), kBlanks)), {}});
            inSection = true;
            continue;
        }
        const std::size_t eq = line.find(L'=');
        if (!inSection || eq == std::wstring_view::npos)
            continue;
        const std::wstring_view key = TrimBlanks(line.substr(0, eq), kBlanks);
        if (key.empty())
            continue;
        sections_.back().Entries.push_back(
            {std::wstring(key), CleanValue(TrimBlanks(line.substr(eq + 1), kBlanks))});
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
