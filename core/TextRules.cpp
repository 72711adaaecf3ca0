#include "core/TextRules.h"

#include <algorithm>
#include <limits>

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

std::optional<std::int32_t> ParseDecimalInt32(std::wstring_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Accumulated in 64 bits and checked per digit, so that no length of digits overflows.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - L'0');
        if (magnitude > kLimit)
            return std::nullopt;
    }
    // 2147483648 only fits with its minus sign.
    if (!negative && magnitude == kLimit)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
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
