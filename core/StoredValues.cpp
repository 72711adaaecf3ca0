#include "core/StoredValues.h"

#include <algorithm>

#include "core/TextRules.h"

// The variant's alternatives are in the order of TStoredType.
TStoredType StoredTypeOf(const TStoredValue& value) {
    return static_cast<TStoredType>(value.index());
}

TStoredValue DefaultValue(const TStoredValueDef& def) {
    switch (def.Type) {
    case TStoredType::Boolean:
        return def.Number != 0;
    case TStoredType::Integer:
        return def.Number;
    case TStoredType::String:
        break;
    }
    return std::wstring(def.Text);
}

std::wstring StoredPropKey(std::wstring_view entry) {
    std::wstring key(entry);
    std::replace(key.begin(), key.end(), L'.', L'_');
    return key;
}

// Keys with this suffix sit beside the plain ones, one pair per screen size seen.
std::wstring ScreenSizeSuffix(int screenWidth, int screenHeight) {
    return L"(" + std::to_wstring(screenWidth) + L"x" + std::to_wstring(screenHeight) + L")";
}

std::vector<std::wstring> SaveOrderKeys(int screenWidth, int screenHeight) {
    const std::wstring suffix = ScreenSizeSuffix(screenWidth, screenHeight);
    std::vector<std::wstring> keys{
        std::wstring(PlacementName::kFormVersion),   std::wstring(PlacementName::kFlags),
        std::wstring(PlacementName::kPixelsPerInch), std::wstring(PlacementName::kMinMaxPos) + suffix,
        std::wstring(PlacementName::kMinMaxPos),     std::wstring(PlacementName::kNormPos) + suffix,
        std::wstring(PlacementName::kNormPos),
    };
    // The placement comes first, then the properties, then the values.
    for (const auto& prop : kStoredProps)
        keys.push_back(StoredPropKey(prop.Entry));
    for (const auto& value : kStoredValues)
        keys.emplace_back(value.Name);
    return keys;
}

std::wstring_view BoolToStoredText(bool value) {
    return value ? L"TRUE" : L"FALSE";
}

std::optional<bool> StoredTextToBool(std::wstring_view text) {
    // The first word of each list is the one written; the others are accepted from files
    // edited by hand.
    text = TrimBlanks(text);
    for (std::wstring_view word : {L"TRUE", L"YES", L"Y"})
        if (SameAsciiText(text, word))
            return true;
    for (std::wstring_view word : {L"FALSE", L"NO", L"N"})
        if (SameAsciiText(text, word))
            return false;
    return std::nullopt;
}

std::optional<std::int32_t> StoredTextToInteger(std::wstring_view text) {
    return ParseDecimalInt32(TrimBlanks(text));
}

std::wstring IntegerToStoredText(std::int32_t value) {
    return std::to_wstring(value);
}

std::wstring FormatPlacementText(const TPlacementNumbers& numbers) {
    std::wstring text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += L',';
        text += std::to_wstring(numbers[i]);
    }
    return text;
}

TPlacementNumbers ParsePlacementText(std::wstring_view text, const TPlacementNumbers& fallback) {
    TPlacementNumbers numbers = fallback;
    // Each piece up to the next comma is one number; a short text leaves the rest as they were.
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t comma = text.find(L',');
        if (auto number = StoredTextToInteger(text.substr(0, comma)))
            numbers[i] = *number;
        if (comma == std::wstring_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return numbers;
}

bool SameSettingName(std::wstring_view a, std::wstring_view b) {
    return SameAsciiText(a, b);
}

// Delays are slept on the main thread: beyond about a minute the program would seem hung.
std::int32_t ClampDelay(std::int32_t milliseconds) {
    return std::clamp(milliseconds, 0, 65535);
}

std::int32_t SaveImageTypeOrDefault(std::int32_t value) {
    return value >= 0 && value <= 3 ? value : 2;
}

std::int32_t OutputTypeOrDefault(std::int32_t value) {
    return value >= 0 && value <= 2 ? value : 0;
}
