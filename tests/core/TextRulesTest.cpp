#include "core/TextRules.h"

#include <gtest/gtest.h>

TEST(TextRules, TheTwoBlankSetsDifferOnlyInTheControlCharacters) {
    const std::wstring_view padded = L"\x1A\r\n \tname\t \v\f";
    EXPECT_EQ(TrimBlanks(padded, TBlanks::SpaceTabAndControls), L"name");
    // The settings file trims space and tab alone: a control character ends the trimming.
    EXPECT_EQ(TrimBlanks(padded), padded);
    EXPECT_EQ(TrimBlanks(L" \t a b \t "), L"a b");
    EXPECT_EQ(TrimBlanks(L" \t "), L"");
    EXPECT_FALSE(IsBlank(0xA0, TBlanks::SpaceTabAndControls)) << "no-break space is text";
}

TEST(TextRules, OnlyAWholePairOfEqualQuotesIsStripped) {
    EXPECT_EQ(StripEnclosingQuotes(L"\"C:\\Shots\""), L"C:\\Shots");
    EXPECT_EQ(StripEnclosingQuotes(L"'x'"), L"x");
    EXPECT_EQ(StripEnclosingQuotes(L"\"\""), L"");
    // One quotation mark alone is both first and last character, yet encloses nothing.
    EXPECT_EQ(StripEnclosingQuotes(L"\""), L"\"");
    EXPECT_EQ(StripEnclosingQuotes(L"'x\""), L"'x\"");
    EXPECT_EQ(StripEnclosingQuotes(L"\"a\" \"b\""), L"a\" \"b") << "one pair only";
    EXPECT_FALSE(IsEnclosedInQuotes(L"plain"));
}

TEST(TextRules, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(SameAsciiText(L"internet explorer_server", L"Internet Explorer_Server"));
    EXPECT_FALSE(SameAsciiText(L"a", L"ab"));
    // U+00E9 and U+00C9 are one letter in two cases, but not ASCII.
    EXPECT_FALSE(SameAsciiText(L"\u00E9", L"\u00C9"));
    EXPECT_EQ(FoldAsciiCase(L'@'), L'@');
    EXPECT_EQ(FoldAsciiCase(L'z'), L'Z');
}

TEST(TextRules, LineViewsLieInsideTheText) {
    const std::wstring text = L"one\r\ntwo\rthree\n";
    const auto lines = LineViews(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], L"three");
    EXPECT_EQ(lines[1].data(), text.data() + 5);
    EXPECT_EQ(LineViews(L"\n").size(), 1u) << "one line break ends one empty line";
}

TEST(TextRules, AWholeNumberStandsAloneWithAtMostOneSign) {
    EXPECT_EQ(ParseDecimalInt32(L"-0"), 0);
    EXPECT_EQ(ParseDecimalInt32(L"+0072"), 72);
    // Blanks are the callers' business: a number with them is no number here.
    EXPECT_EQ(ParseDecimalInt32(L" 5"), std::nullopt);
    EXPECT_EQ(ParseDecimalInt32(L"5 "), std::nullopt);
    EXPECT_EQ(ParseDecimalInt32(L"--5"), std::nullopt);
    EXPECT_EQ(ParseDecimalInt32(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimalInt32(L"2147483648"), std::nullopt);
}
