#pragma once
// Names of the undo state files: "<temp>\~Vrim\~<time stamp>.bmp", the time stamp being
// the local time as a day count since 30 December 1899 with the time of day as fraction.
#include <string>

inline constexpr wchar_t kUndoFolderName[] = L"~Vrim";

// A local date and time as the clock gives it.
struct TLocalTime {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// Days since 30 December 1899, the time of day (to the millisecond) as the fraction.
double DayCount(const TLocalTime& time);

// The day count in general decimal form: at most 15 significant digits, trailing zeros
// dropped, with the given decimal separator ("46000.5", "46000,5", "46000").
std::wstring DayCountText(double dayCount, wchar_t decimalSeparator);

// The separator as it may stand in a file name: one that Windows forbids there (\ / : * ?
// " < > | or a control character) becomes "_".
wchar_t FileNameSafeSeparator(wchar_t decimalSeparator);

// The undo folder inside the temporary folder, whether or not that ends in a backslash.
std::wstring UndoFolderPath(const std::wstring& tempFolder);

// The state file's full path for a time.
std::wstring StateFilePath(const std::wstring& undoFolder, const TLocalTime& time, wchar_t decimalSeparator);
