#pragma once
// The settings of Tolvex: the named values the main window's settings store keeps, their
// types and defaults, how they are written as text, and the order in which one save
// writes them. Portable: the store itself and its back ends live in forms/.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One setting's value in memory. Which alternative it holds is its stored type.
using TStoredValue = std::variant<bool, std::int32_t, std::wstring>;

enum class TStoredType : std::uint8_t { Boolean = 0, Integer = 1, String = 2 };

TStoredType StoredTypeOf(const TStoredValue& value);

// The storage path of every setting: the registry key "Software\Tolvex" of the current
// user, or the section "Tolvex" of the INI file.
inline constexpr std::wstring_view kAppStoragePath = L"Tolvex\\";
inline constexpr std::wstring_view kRegistryRoot = L"Software";
// The INI file beside the program whose presence selects the INI back end.
inline constexpr std::wstring_view kIniFileName = L"Tolvex.ini";

// The names of the stored values.
namespace SettingName {
inline constexpr std::wstring_view kIsBeforeHide = L"isBeforeHide";
inline constexpr std::wstring_view kIsAfterVisible = L"isAfterVisible";
inline constexpr std::wstring_view kScrollDelay = L"ScrollDelay";
inline constexpr std::wstring_view kCaptureDelay = L"CaptureDelay";
inline constexpr std::wstring_view kSaveImageType = L"SaveImageType";
inline constexpr std::wstring_view kJPEGQulity = L"JPEGQulity";
inline constexpr std::wstring_view kIsIEButton = L"isIEButton";
inline constexpr std::wstring_view kIsSound = L"isSound";
inline constexpr std::wstring_view kNewCaptureWidth = L"NewCaptureWidth";
inline constexpr std::wstring_view kNewCaptureHeight = L"NewCaptureHeight";
inline constexpr std::wstring_view kNewCaptureColor = L"NewCaptureColor";
inline constexpr std::wstring_view kForgColor = L"ForgColor";
inline constexpr std::wstring_view kBackColor = L"BackColor";
inline constexpr std::wstring_view kDefForgColor = L"DefForgColor";
inline constexpr std::wstring_view kDefBackColor = L"DefBackColor";
inline constexpr std::wstring_view kHistoryColor1 = L"HistoryColor1";
inline constexpr std::wstring_view kHistoryColor2 = L"HistoryColor2";
inline constexpr std::wstring_view kHistoryColor3 = L"HistoryColor3";
inline constexpr std::wstring_view kHistoryColor4 = L"HistoryColor4";
inline constexpr std::wstring_view kHistoryColor5 = L"HistoryColor5";
inline constexpr std::wstring_view kCaptureRectWidth = L"CaptureRectWidth";
inline constexpr std::wstring_view kCaptureRectHeight = L"CaptureRectHeight";
inline constexpr std::wstring_view kLanguage = L"Language";
inline constexpr std::wstring_view kOutputType = L"OutputType";
inline constexpr std::wstring_view kOutputFolder = L"OutputFolder";
} // namespace SettingName

// A stored value's name, type and default. Number is the default of an Integer (and 0 or 1
// for a Boolean); Text the default of a String.
struct TStoredValueDef {
    std::wstring_view Name;
    TStoredType Type;
    std::int32_t Number;
    std::wstring_view Text;
};

TStoredValue DefaultValue(const TStoredValueDef& def);

// The 25 stored values in the order the main window registers them and a save writes them.
inline constexpr std::array<TStoredValueDef, 25> kStoredValues{{
    {SettingName::kIsBeforeHide, TStoredType::Boolean, 1, {}},
    {SettingName::kIsAfterVisible, TStoredType::Boolean, 1, {}},
    {SettingName::kScrollDelay, TStoredType::Integer, 100, {}},
    {SettingName::kCaptureDelay, TStoredType::Integer, 500, {}},
    {SettingName::kSaveImageType, TStoredType::Integer, 2, {}},
    {SettingName::kJPEGQulity, TStoredType::Integer, 1, {}},
    {SettingName::kIsIEButton, TStoredType::Boolean, 1, {}},
    {SettingName::kIsSound, TStoredType::Boolean, 1, {}},
    {SettingName::kNewCaptureWidth, TStoredType::Integer, 320, {}},
    {SettingName::kNewCaptureHeight, TStoredType::Integer, 200, {}},
    {SettingName::kNewCaptureColor, TStoredType::Integer, 16777215, {}},
    {SettingName::kForgColor, TStoredType::Integer, 0, {}},
    {SettingName::kBackColor, TStoredType::Integer, 16777215, {}},
    {SettingName::kDefForgColor, TStoredType::Integer, 0, {}},
    {SettingName::kDefBackColor, TStoredType::Integer, 16777215, {}},
    {SettingName::kHistoryColor1, TStoredType::Integer, 0, {}},
    {SettingName::kHistoryColor2, TStoredType::Integer, 0, {}},
    {SettingName::kHistoryColor3, TStoredType::Integer, 0, {}},
    {SettingName::kHistoryColor4, TStoredType::Integer, 0, {}},
    {SettingName::kHistoryColor5, TStoredType::Integer, 0, {}},
    {SettingName::kCaptureRectWidth, TStoredType::Integer, 320, {}},
    {SettingName::kCaptureRectHeight, TStoredType::Integer, 240, {}},
    {SettingName::kLanguage, TStoredType::String, 0, {}},
    {SettingName::kOutputType, TStoredType::Integer, 0, {}},
    {SettingName::kOutputFolder, TStoredType::String, 0, {}},
}};

// The component properties the store keeps besides the values: the shortcuts of eight
// capture commands and the web-page auto-scroll switch, with their designed values.
struct TStoredPropDef {
    std::wstring_view Entry; // "component.property"
    TStoredType Type;
    std::int32_t Designed;
};

inline constexpr std::array<TStoredPropDef, 9> kStoredProps{{
    {L"acCaptureControl.ShortCut", TStoredType::Integer, 24688},
    {L"acCaptureWindow.ShortCut", TStoredType::Integer, 24689},
    {L"acCaptureRegion.ShortCut", TStoredType::Integer, 24690},
    {L"acCaptureRect.ShortCut", TStoredType::Integer, 24691},
    {L"acCaptureScreen.ShortCut", TStoredType::Integer, 24692},
    {L"acCaptureContinuity.ShortCut", TStoredType::Integer, 24694},
    {L"acCaptureIcon.ShortCut", TStoredType::Integer, 24695},
    {L"acCaptureRecapture.ShortCut", TStoredType::Integer, 24696},
    {L"acCaptureAutoScroll.Checked", TStoredType::Boolean, 1},
}};

// The key a stored property lies under: its entry with "." replaced by "_".
std::wstring StoredPropKey(std::wstring_view entry);

// Names of the main window's placement values.
namespace PlacementName {
inline constexpr std::wstring_view kFormVersion = L"FormVersion";
inline constexpr std::wstring_view kFlags = L"Flags";
inline constexpr std::wstring_view kPixelsPerInch = L"PixelsPerInch";
inline constexpr std::wstring_view kMinMaxPos = L"MinMaxPos";
inline constexpr std::wstring_view kNormPos = L"NormPos";
} // namespace PlacementName

// The store's version; a stored "FormVersion" below it is not restored.
inline constexpr std::int32_t kFormVersion = 0;

// "(%dx%d)": the suffix that keeps one placement per primary-screen size.
std::wstring ScreenSizeSuffix(int screenWidth, int screenHeight);

// Every key one save writes for the designed tables, in the order written: the version,
// the placement, the nine stored properties, the 25 stored values.
std::vector<std::wstring> SaveOrderKeys(int screenWidth, int screenHeight);

// ---- Text forms of stored values ----

// Booleans are written "TRUE" or "FALSE".
std::wstring_view BoolToStoredText(bool value);
// "TRUE", "YES", "Y" read as true and "FALSE", "NO", "N" as false, in any letter case and
// with blanks around ignored; any other text is no boolean.
std::optional<bool> StoredTextToBool(std::wstring_view text);
// A decimal whole number with an optional sign, blanks around ignored; nothing when the
// text is not one or lies outside 32 bits.
std::optional<std::int32_t> StoredTextToInteger(std::wstring_view text);
std::wstring IntegerToStoredText(std::int32_t value);

// The placement texts: four whole numbers "%d,%d,%d,%d".
using TPlacementNumbers = std::array<std::int32_t, 4>;
std::wstring FormatPlacementText(const TPlacementNumbers& numbers);
// Splits a placement text at ","; a missing or malformed number takes the fallback's value
// at its position, numbers after the fourth are ignored.
TPlacementNumbers ParsePlacementText(std::wstring_view text, const TPlacementNumbers& fallback);

// Whether two setting names are the same: names are compared without regard to case, as
// the registry and INI files compare them.
bool SameSettingName(std::wstring_view a, std::wstring_view b);

// ---- Ranges where values are used ----

// "CaptureDelay" and "ScrollDelay" in milliseconds, brought into 0..65535.
std::int32_t ClampDelay(std::int32_t milliseconds);
// "SaveImageType": 0 BMP, 1 GIF, 2 JPEG, 3 PNG; any other value counts as JPEG.
std::int32_t SaveImageTypeOrDefault(std::int32_t value);
// "OutputType": 0 editor, 1 clipboard, 2 folder; any other value counts as the editor.
std::int32_t OutputTypeOrDefault(std::int32_t value);
