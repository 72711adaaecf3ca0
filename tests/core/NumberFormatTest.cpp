#include "core/NumberFormat.h"

#include <climits>
#include <gtest/gtest.h>

using namespace std::string_view_literals;

TEST(NumberFormat, WholeNumbersAreGroupedByThreeWithTheGivenSeparator) {
    EXPECT_EQ(FormatWholeNumber(0, L","), L"0");
    EXPECT_EQ(FormatWholeNumber(999, L","), L"999");
    EXPECT_EQ(FormatWholeNumber(1024, L","), L"1,024");
    EXPECT_EQ(FormatWholeNumber(1234567, L"."), L"1.234.567");
    EXPECT_EQ(FormatWholeNumber(-1024, L","), L"-1,024");
    EXPECT_EQ(FormatWholeNumber(-999, L","), L"-999");
    EXPECT_EQ(FormatWholeNumber(INT64_MIN, L""), L"-9223372036854775808");
    // A locale without a separator groups nothing visibly, and a longer one fits whole.
    EXPECT_EQ(FormatWholeNumber(1234567, L""), L"1234567");
    EXPECT_EQ(FormatWholeNumber(1234567, L"\u00A0\u00A0"), L"1\u00A0\u00A0234\u00A0\u00A0567");
}

TEST(NumberFormat, TheReportedSeparatorIsEmptyWhenOnlyTheTerminatorCameBack) {
    // The query counts the terminator: 1 is an empty separator, only 0 is a failure.
    EXPECT_EQ(ReportedThousandsSeparator(L"\0\0\0\0"sv, 1), L"");
    EXPECT_EQ(ReportedThousandsSeparator(L"\0\0\0\0"sv, 0), L",");
    EXPECT_EQ(ReportedThousandsSeparator({}, -1), L",");
    EXPECT_EQ(ReportedThousandsSeparator(L".\0\0\0"sv, 2), L".");
    EXPECT_EQ(ReportedThousandsSeparator(L"\u2019\0"sv, 2), L"\u2019");
    // A length beyond the buffer or past an early terminator reads no further.
    EXPECT_EQ(ReportedThousandsSeparator(L"'"sv, 8), L"'");
    EXPECT_EQ(ReportedThousandsSeparator(L" \0xy"sv, 4), L" ");
}
