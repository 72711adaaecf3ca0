#include "core/NumberFormat.h"

std::wstring FormatWholeNumber(std::int64_t value, std::wstring_view separator) {
    // The magnitude as unsigned, so that the smallest value has one too.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::wstring digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits.insert(0, separator);
            inGroup = 0;
        }
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
        ++inGroup;
    } while (magnitude > 0);
    return value < 0 ? L"-" + digits : digits;
}

std::wstring ReportedThousandsSeparator(std::wstring_view buffer, int reportedLength) {
    if (reportedLength <= 0)
        return L",";
    // Never past the buffer, and never past a terminator inside the reported length.
    std::wstring_view text = buffer.substr(0, static_cast<std::size_t>(reportedLength));
    return std::wstring(text.substr(0, text.find(L'\0')));
}
