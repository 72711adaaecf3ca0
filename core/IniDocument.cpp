#include "core/IniDocument.h"

#include <algorithm>

#include "core/IniLine.h"
#include "core/TextRules.h"

namespace {

// Names and values are trimmed of space and tab only, and a section name ends at its
// first "]". A line without "=" is a key with an empty value, as the profile functions
// take it.
constexpr TIniSyntax kSyntax{TBlanks::SpaceTab, false};

TIniLine Classify(std::wstring_view line) {
    return ClassifyIniLine(line, kSyntax);
}

} // namespace

TIniDocument::TIniDocument(std::wstring_view text) : lines_(SplitLines(text)) {}

// A file may hold a section twice; as with the profile functions, the first one counts.
std::size_t TIniDocument::FindSection(std::wstring_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const TIniLine parsed = Classify(lines_[i]);
        if (parsed.Kind == TIniLineKind::Section && SameAsciiText(parsed.Name, section))
            return i;
    }
    return std::wstring::npos;
}

std::size_t TIniDocument::FindKey(std::size_t header, std::wstring_view key) const {
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        const TIniLine parsed = Classify(lines_[i]);
        if (parsed.Kind == TIniLineKind::Section)
            break;
        if (parsed.Kind == TIniLineKind::Key && SameAsciiText(parsed.Name, key))
            return i;
    }
    return std::wstring::npos;
}

std::size_t TIniDocument::SectionEnd(std::size_t header) const {
    // Blank lines after the last entry belong to the gap before the next section, so a new
    // key goes before them.
    std::size_t end = header + 1;
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        if (Classify(lines_[i]).Kind == TIniLineKind::Section)
            break;
        if (!TrimBlanks(lines_[i]).empty())
            end = i + 1;
    }
    return end;
}

std::optional<std::wstring> TIniDocument::Read(std::wstring_view section, std::wstring_view key) const {
    const std::size_t header = FindSection(section);
    if (header == std::wstring::npos)
        return std::nullopt;
    const std::size_t line = FindKey(header, key);
    if (line == std::wstring::npos)
        return std::nullopt;
    return std::wstring(Classify(lines_[line]).Value);
}

void TIniDocument::Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    // One value is one line: a line break would end it and start a key of its own.
    std::wstring text(value);
    std::replace_if(
        text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\0'; }, L' ');
    if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()) || IsEnclosedInQuotes(text)))
        text = L'"' + text + L'"';

    std::size_t header = FindSection(section);
    if (header == std::wstring::npos) {
        // A new section is set off from the one before by a blank line.
        if (!lines_.empty() && !TrimBlanks(lines_.back()).empty())
            lines_.emplace_back();
        lines_.push_back(L"[" + std::wstring(section) + L"]");
        header = lines_.size() - 1;
    }
    const std::size_t line = FindKey(header, key);
    if (line != std::wstring::npos) {
        // The key keeps the spelling the file gave it.
        lines_[line] = std::wstring(Classify(lines_[line]).Name) + L"=" + text;
        return;
    }
    const auto at = lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header));
    lines_.insert(at, std::wstring(key) + L"=" + text);
}

std::vector<std::wstring> TIniDocument::Keys(std::wstring_view section) const {
    std::vector<std::wstring> keys;
    const std::size_t header = FindSection(section);
    if (header == std::wstring::npos)
        return keys;
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        const TIniLine parsed = Classify(lines_[i]);
        if (parsed.Kind == TIniLineKind::Section)
            break;
        if (parsed.Kind == TIniLineKind::Key)
            keys.emplace_back(parsed.Name);
    }
    return keys;
}

bool TIniDocument::HasSection(std::wstring_view section) const {
    return FindSection(section) != std::wstring::npos;
}

// Every line ends with CR LF, the last one too, as Windows writes INI files.
std::wstring TIniDocument::Text() const {
    std::wstring text;
    for (const auto& line : lines_) {
        text += line;
        text += L"\r\n";
    }
    return text;
}
