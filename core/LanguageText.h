#pragma once
// Rules of the language files: how a component text splits into caption and hint, which
// language is chosen, where its file lies, the message texts with their defaults and the
// form-level keys of a form's section.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/IniFile.h"
#include "core/TextRules.h"

inline constexpr std::wstring_view kLanguageKorea = L"Korea";
inline constexpr std::wstring_view kLanguageEnglish = L"English";
// The system default locale that chooses Korean on a first start.
inline constexpr std::uint32_t kKoreanLocaleId = 1042;
inline constexpr std::wstring_view kLanguageFileExtension = L".dat";
inline constexpr std::wstring_view kLanguageFolder = L"\\Language\\";
inline constexpr std::wstring_view kMessageSection = L"Message";
inline constexpr std::wstring_view kCaptionKey = L"Caption";
inline constexpr std::wstring_view kFontNameKey = L"FontName";
inline constexpr std::wstring_view kFontSizeKey = L"FontSize";
// The font sizes in points that a language file may set.
inline constexpr int kMinFontSize = 1;
inline constexpr int kMaxFontSize = 72;

// Every literal "#13#10" becomes a line break (CR LF).
std::wstring ExpandLineBreaks(std::wstring_view value);
// Removes the accelerator marks of a text: a single "&" goes, a doubled "&&" stays as one
// literal "&".
std::wstring RemoveAccelerators(std::wstring_view text);

// A component's value cut into its two parts: line breaks expanded, then split at the
// first "|"; the hint part loses its accelerator marks. Without "|" both parts come from
// the whole value.
struct TComponentText {
    std::wstring Caption;
    std::wstring Hint;
};
TComponentText SplitComponentText(std::wstring_view value);

// The language to store and use: the stored word when it is "Korea" or "English",
// otherwise the system's choice ("Korea" for the Korean default locale, "English" for any
// other or when the locale could not be read).
std::wstring SettleLanguage(std::wstring_view stored, std::optional<std::uint32_t> systemLocaleId);
// "English" -> "English.dat".
std::wstring LanguageFileName(std::wstring_view language);
// The full path of a language file: only the bare file name of the given value is kept
// (after the last "\", "/" or ":") and placed in the "Language" folder of the program
// folder. An empty value gives an empty path.
std::wstring LanguageFilePath(std::wstring_view programFolder, std::wstring_view value);

// A form's font size from its "FontSize" value: a whole decimal number within 1..72, or
// nothing (empty, malformed or out of range values leave the font alone).
std::optional<int> ParseFontSize(std::wstring_view value);

// What a form's section says, read in one go.
struct TFormSectionTexts {
    std::wstring Caption;        // empty: keep the form's caption
    std::wstring FontName;       // empty: keep the font name
    std::optional<int> FontSize; // none: keep the font size
    // Every key with its raw value, in file order; each may name a component of the form.
    std::vector<std::pair<std::wstring, std::wstring>> Components;
};
TFormSectionTexts ReadFormSection(const TIniReader& ini, std::wstring_view section);
// A text of the "Message" section with its line breaks expanded; empty when missing.
std::wstring ReadMessageText(const TIniReader& ini, std::wstring_view key);

// The message texts that every part of the program shows. The field names are the
// keys of the "Message" section.
struct TMessageTexts {
    std::wstring msgNewCapture;
    std::wstring msgCaptureFail;
    std::wstring msgHistoryNotFound;
    std::wstring msgOverwriteFile;
    std::wstring msgSaveAfterExit;
    std::wstring msgPathNotFound;
    std::wstring msgEmptyPath;
    std::wstring msgPagesNotCaptured;
    std::wstring msgSizeOutOfRange;

    TMessageTexts(); // every text at its default
};
struct TMessageKey {
    std::wstring_view Name;
    std::wstring_view Default;
    std::wstring TMessageTexts::*Field;
};
inline constexpr std::array<TMessageKey, 9> kMessageKeys{{
    {L"msgNewCapture", L"New", &TMessageTexts::msgNewCapture},
    {L"msgCaptureFail", L"Capture fail!", &TMessageTexts::msgCaptureFail},
    {L"msgHistoryNotFound", L"History not found!", &TMessageTexts::msgHistoryNotFound},
    {L"msgOverwriteFile", L"File exist! Overwrite?", &TMessageTexts::msgOverwriteFile},
    {L"msgSaveAfterExit", L"Save after exit?", &TMessageTexts::msgSaveAfterExit},
    {L"msgPathNotFound", L"folder not found!", &TMessageTexts::msgPathNotFound},
    {L"msgEmptyPath", L"Folder name empty!", &TMessageTexts::msgEmptyPath},
    {L"msgPagesNotCaptured", L"%d of %d pages could not be captured.", &TMessageTexts::msgPagesNotCaptured},
    {L"msgSizeOutOfRange", L"The box \"%s\" needs a whole number from %d to %d.",
     &TMessageTexts::msgSizeOutOfRange},
}};
// Fills every message text in table order from readMessage (key -> text); an empty
// answer gives the default text.
void LoadMessageTexts(const std::function<std::wstring(std::wstring_view)>& readMessage,
                      TMessageTexts& texts);

// Puts numbers into a message text: "%d" takes the next number, "%1:d" the number of that
// index (counted from 0; the next "%d" then takes the one after it), "%%" is a "%". Anything
// else, a placeholder without its number included, stays as written: the text comes from a
// language file and is never trusted as a format.
std::wstring FormatNumbers(std::wstring_view text, std::span<const long long> numbers);
// FormatNumbers, and every "%s" takes the name; the name is put in as it stands.
std::wstring FormatNameAndNumbers(std::wstring_view text, std::wstring_view name,
                                  std::span<const long long> numbers);
