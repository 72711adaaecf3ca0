#pragma once
// The language component: reads the current language file and applies one section of it
// to one form. Also the language choice and the message texts that the main window's
// language commands are built from.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/LanguageText.h"
#include "forms/Component.h"

class TForm;
class TFormStorage;

class TSLanguage : public TComponent {
public:
    explicit TSLanguage(TForm* owner, std::wstring name = L"SLanguage");

    // The full path of the current language file; empty until first set.
    const std::wstring& FileName() const { return fileName_; }
    // Only the bare file name of the value is kept, in the "Language" folder of the
    // program's folder; an empty value empties the path.
    void SetFileName(const std::wstring& value);
    // Applies the section named after the form to it: the form's caption and font, then
    // every key that names one of its components. Nothing when the file does not exist.
    void Apply(TForm& form) const;
    // A text of the "Message" section with its line breaks; empty when the file or the
    // key is missing.
    std::wstring ReadMessage(std::wstring_view key) const;

private:
    std::optional<TIniReader> Read() const;
    std::wstring fileName_;
};

// The text of a language file's bytes: UTF-8 with or without its byte-order mark, or, when
// the bytes are not valid UTF-8, text in the system's ANSI code page.
std::wstring DecodeLanguageText(std::string_view bytes);
// Reads and decodes a language file; nothing when it is missing, a folder, unreadable or
// far larger than any language file.
std::optional<std::wstring> ReadLanguageFile(const std::wstring& path);
// Gives one component its text by the component's kind (action, labelled edit, combo box,
// menu item, image, flat speed button, any other visual control, first match). Returns
// false for a component of no such kind, and when the caption part is empty.
bool ApplyComponentText(TComponent& component, const TComponentText& text);

// Settles the stored "Language" (a word other than "Korea" or "English" is replaced by the
// system's choice) and points the language component at its file.
void ChooseLanguage(TFormStorage& store, TSLanguage& language, std::optional<std::uint32_t> systemLocaleId);
// The same with the system's default locale.
void ChooseLanguage(TFormStorage& store, TSLanguage& language);
// Fills the seven message texts from the language file, each missing or empty one with
// its default.
void LoadMessageTexts(const TSLanguage& language, TMessageTexts& texts);
