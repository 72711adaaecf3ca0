#include "core/StateFileName.h"

#include <charconv>
#include <string_view>

namespace {

// Days from 1 January 1970 in the proleptic Gregorian calendar (era arithmetic, so that no
// table of month lengths is needed and leap years come out right).
long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr long long kDaysFrom1899To1970 = 25569;
constexpr double kMillisecondsPerDay = 86400000.0;

} // namespace

double DayCount(const TLocalTime& time) {
    const long long days = DaysFromCivil(time.Year, time.Month, time.Day) + kDaysFrom1899To1970;
    const long long milliseconds =
        ((time.Hour * 60LL + time.Minute) * 60LL + time.Second) * 1000LL + time.Millisecond;
    return static_cast<double>(days) + static_cast<double>(milliseconds) / kMillisecondsPerDay;
}

std::wstring DayCountText(double dayCount, wchar_t decimalSeparator) {
    char buffer[64];
    // General form with 15 significant digits drops trailing zeros by itself, and to_chars
    // does not depend on the C locale.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, dayCount, std::chars_format::general, 15);
    std::wstring text;
    for (const char* p = buffer; p != result.ptr; ++p)
        text.push_back(*p == '.' ? decimalSeparator : static_cast<wchar_t>(*p));
    return text;
}

wchar_t FileNameSafeSeparator(wchar_t decimalSeparator) {
    constexpr std::wstring_view kForbidden = L"\\/:*?\"<>|";
    if (decimalSeparator < L' ' || kForbidden.find(decimalSeparator) != std::wstring_view::npos)
        return L'_';
    return decimalSeparator;
}

std::wstring UndoFolderPath(const std::wstring& tempFolder) {
    std::wstring folder = tempFolder;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return folder + L'\\' + kUndoFolderName;
}

std::wstring StateFilePath(const std::wstring& undoFolder, const TLocalTime& time, wchar_t decimalSeparator) {
    return undoFolder + L"\\~" + DayCountText(DayCount(time), FileNameSafeSeparator(decimalSeparator)) +
           L".bmp";
}
