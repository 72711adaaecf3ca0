#include "core/StateFileName.h"

#include <gtest/gtest.h>

TEST(StateFileName, DayCountCountsFromThe30thOfDecember1899) {
    EXPECT_EQ(DayCount({1899, 12, 30}), 0.0);
    EXPECT_EQ(DayCount({1899, 12, 31}), 1.0);
    EXPECT_EQ(DayCount({1900, 3, 1}), 61.0);     // 1900 is no leap year
    EXPECT_EQ(DayCount({2000, 2, 29}), 36585.0); // 2000 is one
    EXPECT_EQ(DayCount({2025, 12, 9, 12, 0, 0, 0}), 46000.5);
    EXPECT_EQ(DayCount({2025, 12, 9, 18, 0, 0, 0}), 46000.75);
}

TEST(StateFileName, TimeStampTextHasFifteenSignificantDigitsAndTheLocaleSeparator) {
    EXPECT_EQ(DayCountText(46000.5, L'.'), L"46000.5");
    EXPECT_EQ(DayCountText(46000.5, L','), L"46000,5");
    EXPECT_EQ(DayCountText(DayCount({2025, 12, 9}), L'.'), L"46000");
    // One millisecond past midnight still shows: the fraction keeps ten digits here.
    EXPECT_EQ(DayCountText(DayCount({2025, 12, 9, 0, 0, 0, 1}), L'.'), L"46000.0000000116");
    EXPECT_EQ(DayCountText(DayCount({2025, 12, 9, 12, 34, 56, 789}), L','), L"46000,5242683912");
    EXPECT_NE(DayCountText(DayCount({2025, 12, 9, 12, 34, 56, 789}), L'.'),
              DayCountText(DayCount({2025, 12, 9, 12, 34, 56, 790}), L'.'));
}

TEST(StateFileName, SeparatorsThatCannotStandInAFileNameAreReplaced) {
    for (wchar_t c : std::wstring(L"\\/:*?\"<>|\t"))
        EXPECT_EQ(FileNameSafeSeparator(c), L'_') << static_cast<int>(c);
    EXPECT_EQ(FileNameSafeSeparator(L'\0'), L'_');
    EXPECT_EQ(FileNameSafeSeparator(L'.'), L'.');
    EXPECT_EQ(FileNameSafeSeparator(L','), L',');
    EXPECT_EQ(FileNameSafeSeparator(L'\u066B'), L'\u066B'); // the Arabic decimal separator
}

TEST(StateFileName, StateFilesLiveInTheUndoFolderOfTheTemporaryFolder) {
    EXPECT_EQ(UndoFolderPath(L"C:\\Temp\\"), L"C:\\Temp\\~Vrim");
    EXPECT_EQ(UndoFolderPath(L"C:\\Temp"), L"C:\\Temp\\~Vrim");
    EXPECT_EQ(UndoFolderPath(L"C:\\"), L"C:\\~Vrim");
    const TLocalTime noon{2025, 12, 9, 12, 0, 0, 0};
    EXPECT_EQ(StateFilePath(L"C:\\Temp\\~Vrim", noon, L'.'), L"C:\\Temp\\~Vrim\\~46000.5.bmp");
    EXPECT_EQ(StateFilePath(L"C:\\Temp\\~Vrim", noon, L','), L"C:\\Temp\\~Vrim\\~46000,5.bmp");
    EXPECT_EQ(StateFilePath(L"C:\\Temp\\~Vrim", noon, L':'), L"C:\\Temp\\~Vrim\\~46000_5.bmp");
}
