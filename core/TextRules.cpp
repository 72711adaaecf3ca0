#include "core/TextRules.h"

#include <algorithm>

bool IsBlank(wchar_t c, TBlanks blanks) {
    if (c == L' ' || c == L'\t')
        return true;
    return blanks == TBlanks::SpaceTabAndControls &&
           (c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0x1A);
}

std::wstring_view TrimBlanks(std::wstring_view text, TBlanks blanks) {
    while (!text.empty() && IsBlank(text.front(), blanks))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back(), blanks))
        text.remove_suffix(1);
    return text;
}

wchar_t FoldAsciiCase(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool SameAsciiText(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return FoldAsciiCase(x) == FoldAsciiCase(y);
           });
}

bool IsEnclosedInQuotes(std::wstring_view text) {
    // One quotation mark alone opens and closes nothing.
    return text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') && text.back() == text.front();
}

std::wstring_view StripEnclosingQuotes(std::wstring_view text) {
    return IsEnclosedInQuotes(text) ? text.substr(1, text.size() - 2) : text;
}

std::vector<std::wstring_view> LineViews(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(L"\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::wstring_view::npos)
            break;
        // CR LF is one line break; a lone CR or LF is one too.
        const bool crlf = text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return lines;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    const std::vector<std::wstring_view> views = LineViews(text);
    return {views.begin(), views.end()};
}
