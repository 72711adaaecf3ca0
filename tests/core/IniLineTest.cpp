#include "core/IniLine.h"

#include <gtest/gtest.h>

namespace {
constexpr TIniSyntax kSettings{TBlanks::SpaceTab, false};
constexpr TIniSyntax kLanguage{TBlanks::SpaceTabAndControls, true};
} // namespace

TEST(IniLine, HeadersEndAtTheFirstOrTheLastBracketAsTheSyntaxSays) {
    TIniLine line = ClassifyIniLine(L" [ a ]b] ; x", kSettings);
    EXPECT_EQ(line.Kind, TIniLineKind::Section);
    EXPECT_EQ(line.Name, L"a");
    EXPECT_TRUE(line.Closed);
    EXPECT_EQ(ClassifyIniLine(L" [ a ]b] ; x", kLanguage).Name, L"a ]b");

    // Without "]" the header is open and names the rest of its line.
    line = ClassifyIniLine(L"[Open ", kLanguage);
    EXPECT_EQ(line.Kind, TIniLineKind::Section);
    EXPECT_FALSE(line.Closed);
    EXPECT_EQ(line.Name, L"Open");
}

TEST(IniLine, KeyLinesSplitAtTheFirstEqualsSign) {
    TIniLine line = ClassifyIniLine(L"\tkey = \"a=b\" ", kSettings);
    EXPECT_EQ(line.Kind, TIniLineKind::Key);
    EXPECT_TRUE(line.HasEquals);
    EXPECT_EQ(line.Name, L"key");
    EXPECT_EQ(line.Value, L"a=b");

    line = ClassifyIniLine(L"NoValue", kSettings);
    EXPECT_EQ(line.Kind, TIniLineKind::Key);
    EXPECT_FALSE(line.HasEquals);
    EXPECT_EQ(line.Name, L"NoValue");
    EXPECT_EQ(line.Value, L"");

    // Control characters around the value count as blanks to the language syntax only.
    EXPECT_EQ(ClassifyIniLine(L"k=v\x1A", kLanguage).Value, L"v");
    EXPECT_EQ(ClassifyIniLine(L"k=v\x1A", kSettings).Value, L"v\x1A");
}

TEST(IniLine, CommentsAndBlankLinesAreNeither) {
    EXPECT_EQ(ClassifyIniLine(L"  ; [Section]", kSettings).Kind, TIniLineKind::Other);
    EXPECT_EQ(ClassifyIniLine(L" \t ", kSettings).Kind, TIniLineKind::Other);
    EXPECT_EQ(ClassifyIniLine(L"\f\v", kLanguage).Kind, TIniLineKind::Other);
    EXPECT_EQ(ClassifyIniLine(L"\f\v", kSettings).Kind, TIniLineKind::Key);
}
