// The language file rules: a form's section (caption, font, component texts with their
// hints and accelerators), the message texts and the file's name from a stored value.
#include <cstdint>
#include <string>

#include "FuzzText.h"
#include "core/LanguageText.h"

namespace {

void CheckComponentText(std::wstring_view value) {
    const TComponentText text = SplitComponentText(value);
    // The hint never shows an accelerator mark of its own, only the literal "&" of "&&".
    FUZZ_CHECK(text.Caption.size() <= ExpandLineBreaks(value).size());
    FUZZ_CHECK(text.Hint.size() <= ExpandLineBreaks(value).size());
    const std::wstring bare = RemoveAccelerators(text.Hint);
    FUZZ_CHECK(bare.size() <= text.Hint.size());
    FUZZ_CHECK(ExpandLineBreaks(value).find(L"#13#10") == std::wstring::npos ||
               value.find(L"#13#10") != std::wstring_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = FuzzText(data, size);
    const TIniReader ini(text);
    for (const wchar_t* section : {L"MainForm", L"ToolForm", L"OptionForm", L"Message"}) {
        const TFormSectionTexts form = ReadFormSection(ini, section);
        if (form.FontSize)
            FUZZ_CHECK(*form.FontSize >= kMinFontSize && *form.FontSize <= kMaxFontSize);
        for (const auto& [name, value] : form.Components) {
            FUZZ_CHECK(!name.empty());
            CheckComponentText(value);
        }
    }
    TMessageTexts messages;
    LoadMessageTexts([&](std::wstring_view key) { return ReadMessageText(ini, key); }, messages);
    for (const TMessageKey& key : kMessageKeys)
        FUZZ_CHECK(!(messages.*key.Field).empty());

    // The stored language value names a file in the program's language folder, never one
    // elsewhere.
    constexpr std::wstring_view kFolder = L"C:\\Program Files\\Tolvex\\Language\\";
    const std::wstring path = LanguageFilePath(L"C:\\Program Files\\Tolvex\\", text);
    if (!text.empty()) {
        FUZZ_CHECK(path.starts_with(kFolder));
        FUZZ_CHECK(path.find_first_of(L"\\/:", kFolder.size()) == std::wstring::npos);
    }
    const std::wstring settled = SettleLanguage(text, kKoreanLocaleId);
    FUZZ_CHECK(settled == kLanguageKorea || settled == kLanguageEnglish);
    if (const auto fontSize = ParseFontSize(text))
        FUZZ_CHECK(*fontSize >= kMinFontSize && *fontSize <= kMaxFontSize);
    return 0;
}
