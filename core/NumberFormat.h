#pragma once
// Whole numbers as the status bar and the overlay labels show them: groups of three digits
// with the locale's thousands separator, no decimals.
#include <cstdint>
#include <string>
#include <string_view>

// A whole number with the thousands separator between groups of three digits ("1,024").
std::wstring FormatWholeNumber(std::int64_t value, std::wstring_view separator);

// The separator the system reported: the text in buffer up to its terminator, where
// reportedLength counts the terminator as the system's locale query does. A failed query
// (length 0 or less) gives the comma; a length of 1 is an empty separator, not a failure.
std::wstring ReportedThousandsSeparator(std::wstring_view buffer, int reportedLength);
