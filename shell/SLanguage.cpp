#include "shell/SLanguage.h"

#include <windows.h>

#include "core/StoredValues.h"
#include "core/Utf8.h"
#include "forms/Actions.h"
#include "forms/ComboBox.h"
#include "forms/Controls.h"
#include "forms/Files.h"
#include "forms/FlatSpeedButton.h"
#include "forms/Form.h"
#include "forms/FormStorage.h"
#include "forms/Handles.h"
#include "forms/Image.h"
#include "forms/LabeledEdit.h"
#include "forms/Menus.h"
#include "forms/Strings.h"

namespace {
// Language files are a few kilobytes; anything far larger is not one.
constexpr std::uint64_t kMaxLanguageFileSize = 4 * 1024 * 1024;
} // namespace

std::wstring DecodeLanguageText(std::string_view bytes) {
    bytes = StripUtf8Bom(bytes);
    if (IsValidUtf8(bytes))
        return DecodeUtf8(bytes);
    // Not UTF-8: a file saved in the system's ANSI code page, as older editors write it.
    if (bytes.size() > kMaxLanguageFileSize)
        return {};
    return DecodeCodePage(CP_ACP, bytes, false).value_or(std::wstring());
}

std::optional<std::wstring> ReadLanguageFile(const std::wstring& path) {
    if (path.empty() || !FileExists(path))
        return std::nullopt;
    TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    // A file that shrank while it was read gives what was there.
    const TFileRead read = ReadOpenFile(file.Get(), kMaxLanguageFileSize);
    if (read.Status != TReadStatus::Read)
        return std::nullopt;
    return DecodeLanguageText(read.Chars());
}

bool ApplyComponentText(TComponent& component, const TComponentText& text) {
    // An empty caption part changes nothing, not even the hint.
    if (text.Caption.empty())
        return false;
    if (auto* action = dynamic_cast<TAction*>(&component)) {
        action->SetCaption(text.Caption);
        action->SetHint(text.Hint);
    } else if (auto* edit = dynamic_cast<TLabeledEdit*>(&component)) {
        edit->SetLabelCaption(text.Caption);
        edit->SetHint(text.Hint);
    } else if (auto* combo = dynamic_cast<TComboBox*>(&component)) {
        combo->SetItems(SplitLines(text.Caption));
    } else if (auto* item = dynamic_cast<TMenuItem*>(&component)) {
        item->SetCaption(text.Caption);
    } else if (auto* image = dynamic_cast<TImage*>(&component)) {
        image->SetHint(text.Caption); // an image's hint is the caption part, marks and all
    } else if (auto* button = dynamic_cast<TFlatSpeedButton*>(&component)) {
        button->SetHint(text.Hint);
    } else if (auto* control = dynamic_cast<TControl*>(&component)) {
        control->SetCaption(text.Caption);
        control->SetHint(text.Hint);
    } else {
        return false; // timers, dialogs, lists, pop-up menus: nothing to translate
    }
    return true;
}

TSLanguage::TSLanguage(TForm* owner, std::wstring name) : TComponent(owner, std::move(name)) {}

void TSLanguage::SetFileName(const std::wstring& value) {
    fileName_ = LanguageFilePath(ProgramFolder(), value);
}

std::optional<TIniReader> TSLanguage::Read() const {
    // The file is read anew every time, so a file replaced while the program runs counts.
    std::optional<std::wstring> text = ReadLanguageFile(fileName_);
    if (!text)
        return std::nullopt;
    return TIniReader(*text);
}

void TSLanguage::Apply(TForm& form) const {
    const std::optional<TIniReader> ini = Read();
    if (!ini)
        return;
    const TFormSectionTexts section = ReadFormSection(*ini, form.Name());
    if (!section.Caption.empty())
        form.SetCaption(section.Caption);
    if (!section.FontName.empty())
        form.SetFont(section.FontName, form.FontHeight());
    if (section.FontSize)
        form.SetFontSize(*section.FontSize);
    for (const auto& [key, value] : section.Components) {
        if (TComponent* component = form.FindComponent(key))
            ApplyComponentText(*component, SplitComponentText(value));
    }
}

std::wstring TSLanguage::ReadMessage(std::wstring_view key) const {
    const std::optional<TIniReader> ini = Read();
    return ini ? ReadMessageText(*ini, key) : std::wstring();
}

void ChooseLanguage(TFormStorage& store, TSLanguage& language, std::optional<std::uint32_t> systemLocaleId) {
    const std::wstring stored = store.ReadString(SettingName::kLanguage);
    const std::wstring chosen = SettleLanguage(stored, systemLocaleId);
    if (chosen != stored)
        store.SetStoredValue(SettingName::kLanguage, chosen);
    language.SetFileName(LanguageFileName(chosen));
}

void ChooseLanguage(TFormStorage& store, TSLanguage& language) {
    ChooseLanguage(store, language, static_cast<std::uint32_t>(GetSystemDefaultLCID()));
}

void LoadMessageTexts(const TSLanguage& language, TMessageTexts& texts) {
    // The file is read once for all seven texts.
    const std::optional<std::wstring> text = ReadLanguageFile(language.FileName());
    const TIniReader ini = text ? TIniReader(*text) : TIniReader();
    LoadMessageTexts([&](std::wstring_view key) { return ReadMessageText(ini, key); }, texts);
}
