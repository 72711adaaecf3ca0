#include "core/LanguageText.h"

#include <algorithm>

std::wstring ExpandLineBreaks(std::wstring_view value) {
    constexpr std::wstring_view kMark = L"#13#10";
    std::wstring out;
    out.reserve(value.size());
    for (std::size_t pos = 0;;) {
        const std::size_t hit = value.find(kMark, pos);
        out.append(value.substr(pos, hit == std::wstring_view::npos ? std::wstring_view::npos : hit - pos));
        if (hit == std::wstring_view::npos)
            break;
        out.append(L"\r\n");
        pos = hit + kMark.size();
    }
    return out;
}

std::wstring RemoveAccelerators(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            out.push_back(text[i]);
        } else if (i + 1 < text.size() && text[i + 1] == L'&') {
            out.push_back(L'&');
            ++i;
        }
    }
    return out;
}

TComponentText SplitComponentText(std::wstring_view value) {
    const std::wstring expanded = ExpandLineBreaks(value);
    const std::size_t bar = expanded.find(L'|');
    if (bar == std::wstring::npos)
        return {expanded, RemoveAccelerators(expanded)};
    return {expanded.substr(0, bar), RemoveAccelerators(std::wstring_view(expanded).substr(bar + 1))};
}

std::wstring SettleLanguage(std::wstring_view stored, std::optional<std::uint32_t> systemLocaleId) {
    if (stored == kLanguageKorea || stored == kLanguageEnglish)
        return std::wstring(stored);
    return std::wstring(systemLocaleId == kKoreanLocaleId ? kLanguageKorea : kLanguageEnglish);
}

std::wstring LanguageFileName(std::wstring_view language) {
    return std::wstring(language) + std::wstring(kLanguageFileExtension);
}

std::wstring LanguageFilePath(std::wstring_view programFolder, std::wstring_view value) {
    if (value.empty())
        return {};
    const std::size_t sep = value.find_last_of(L"\\/:");
    const std::wstring_view name = sep == std::wstring_view::npos ? value : value.substr(sep + 1);
    while (!programFolder.empty() && (programFolder.back() == L'\\' || programFolder.back() == L'/'))
        programFolder.remove_suffix(1);
    return std::wstring(programFolder) + std::wstring(kLanguageFolder) + std::wstring(name);
}

std::optional<int> ParseFontSize(std::wstring_view value) {
    // The value is taken as it stands: blanks inside it make it no number.
    const std::optional<std::int32_t> size = ParseDecimalInt32(value);
    if (!size || *size < kMinFontSize || *size > kMaxFontSize)
        return std::nullopt;
    return *size;
}

TFormSectionTexts ReadFormSection(const TIniReader& ini, std::wstring_view section) {
    TFormSectionTexts texts;
    texts.Caption = ini.ReadString(section, kCaptionKey);
    texts.FontName = ini.ReadString(section, kFontNameKey);
    texts.FontSize = ParseFontSize(ini.ReadString(section, kFontSizeKey));
    for (std::wstring& key : ini.ReadSection(section)) {
        std::wstring value = ini.ReadString(section, key);
        texts.Components.emplace_back(std::move(key), std::move(value));
    }
    return texts;
}

std::wstring ReadMessageText(const TIniReader& ini, std::wstring_view key) {
    return ExpandLineBreaks(ini.ReadString(kMessageSection, key));
}

TMessageTexts::TMessageTexts() {
    for (const TMessageKey& key : kMessageKeys)
        this->*key.Field = key.Default;
}

void LoadMessageTexts(const std::function<std::wstring(std::wstring_view)>& readMessage,
                      TMessageTexts& texts) {
    for (const TMessageKey& key : kMessageKeys) {
        std::wstring text = readMessage(key.Name);
        texts.*key.Field = text.empty() ? std::wstring(key.Default) : std::move(text);
    }
}

namespace {
// FormatNumbers, and with a name given every "%s" becomes that name.
std::wstring FormatText(std::wstring_view text, const std::wstring_view* name,
                        std::span<const long long> numbers) {
    std::wstring out;
    out.reserve(text.size() + 16);
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%' || i + 1 >= text.size()) {
            out.push_back(text[i]);
            continue;
        }
        if (text[i + 1] == L'%') {
            out.push_back(L'%');
            ++i;
            continue;
        }
        if (name && text[i + 1] == L's') {
            out += *name;
            ++i;
            continue;
        }
        // "%d" or "%<digits>:d"; the index is read with a bound, so no digit run overflows.
        std::size_t end = i + 1;
        std::size_t index = next;
        if (text[end] >= L'0' && text[end] <= L'9') {
            index = 0;
            while (end < text.size() && text[end] >= L'0' && text[end] <= L'9') {
                index =
                    std::min<std::size_t>(index * 10 + static_cast<std::size_t>(text[end] - L'0'), 1000000);
                ++end;
            }
            if (end >= text.size() || text[end] != L':') {
                out.push_back(text[i]);
                continue;
            }
            ++end;
        }
        if (end >= text.size() || text[end] != L'd' || index >= numbers.size()) {
            out.push_back(text[i]);
            continue;
        }
        out += std::to_wstring(numbers[index]);
        next = index + 1;
        i = end;
    }
    return out;
}
} // namespace

std::wstring FormatNumbers(std::wstring_view text, std::span<const long long> numbers) {
    return FormatText(text, nullptr, numbers);
}

std::wstring FormatNameAndNumbers(std::wstring_view text, std::wstring_view name,
                                  std::span<const long long> numbers) {
    return FormatText(text, &name, numbers);
}
