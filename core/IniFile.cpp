#include "core/IniFile.h"

#include "core/IniLine.h"
#include "core/TextRules.h"

namespace {

// Language files are edited with all kinds of editors: the control characters some of them
// leave around names and values are dropped with the blanks. A section name ends at the
// header's last "]", as the profile reader takes it.
constexpr TIniSyntax kSyntax{TBlanks::SpaceTabAndControls, true};

// A value is cut to the longest value handed out (after its enclosing quotes went), never
// leaving half of a surrogate pair at its end.
std::wstring CapValue(std::wstring_view v) {
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
    for (const std::wstring_view raw : LineViews(text)) {
        const TIniLine line = ClassifyIniLine(raw, kSyntax);
        if (line.Kind == TIniLineKind::Section) {
            // A header without its closing bracket is damaged: the keys after it belong to
            // no section, rather than to the section before it.
            inSection = line.Closed;
            if (inSection)
                sections_.push_back({std::wstring(line.Name), {}});
            continue;
        }
        // Lines without "=" and keys without a name are no entries.
        if (line.Kind != TIniLineKind::Key || !inSection || !line.HasEquals || line.Name.empty())
            continue;
        sections_.back().Entries.push_back({std::wstring(line.Name), CapValue(line.Value)});
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
