#include "core/IniFile.h"

#include <gtest/gtest.h>

using Keys = std::vector<std::wstring>;

TEST(IniFile, SectionsAndKeysAreFoundWithoutRegardToCaseAndListedInFileOrder) {
    const TIniReader ini(L"[MainForm]\r\nCaption=Tolvex\r\nacFileNew=New|Create\r\n"
                         L"[Message]\nmsgNewCapture=New\n");
    EXPECT_TRUE(ini.SectionExists(L"mainform"));
    EXPECT_FALSE(ini.SectionExists(L"Main"));
    EXPECT_EQ(ini.ReadSection(L"MAINFORM"), (Keys{L"Caption", L"acFileNew"}));
    EXPECT_EQ(ini.ReadString(L"mainForm", L"ACFILENEW"), L"New|Create");
    EXPECT_EQ(ini.ReadString(L"message", L"msgnewcapture"), L"New");
    // A key of another section is not seen.
    EXPECT_EQ(ini.ReadString(L"Message", L"Caption", L"dflt"), L"dflt");
    EXPECT_EQ(ini.ReadString(L"Nowhere", L"Caption", L"dflt"), L"dflt");
    EXPECT_TRUE(ini.ReadSection(L"Nowhere").empty());
}

TEST(IniFile, BlanksAroundKeysAndValuesAreDroppedAndEnclosingQuotesRemoved) {
    const TIniReader ini(L"  [ S ]  \n"
                         L"\t a key \t=  two words  \n"
                         L"dq=\"  padded  \"\n"
                         L"sq='x'\n"
                         L"mixed=\"x'\n"
                         L"inner=a \"b\" c\n"
                         L"lone=\"\n"
                         L"empty=\n"
                         L"quotedEmpty=\"\"\n"
                         L"eq=a=b\n");
    EXPECT_EQ(ini.ReadString(L"S", L"a key"), L"two words");
    EXPECT_EQ(ini.ReadString(L"S", L"dq"), L"  padded  ");
    EXPECT_EQ(ini.ReadString(L"S", L"sq"), L"x");
    EXPECT_EQ(ini.ReadString(L"S", L"mixed"), L"\"x'");
    EXPECT_EQ(ini.ReadString(L"S", L"inner"), L"a \"b\" c");
    EXPECT_EQ(ini.ReadString(L"S", L"lone"), L"\"");
    EXPECT_EQ(ini.ReadString(L"S", L"empty", L"dflt"), L"");
    EXPECT_EQ(ini.ReadString(L"S", L"quotedEmpty", L"dflt"), L"");
    EXPECT_EQ(ini.ReadString(L"S", L"eq"), L"a=b"); // split at the first "="
}

TEST(IniFile, CommentsLinesWithoutEqualsAndKeysOutsideSectionsAreNotKeys) {
    const TIniReader ini(L"orphan=1\n[S]\n; note=1\n  ;indented=1\njust words\n=no key\nreal=2\n");
    EXPECT_EQ(ini.ReadSection(L"S"), (Keys{L"real"}));
    EXPECT_EQ(ini.ReadString(L"S", L"; note", L"-"), L"-");
}

TEST(IniFile, OnlyTheFirstSectionOfANameAndTheFirstValueOfAKeyCount) {
    const TIniReader ini(L"[S]\na=1\nA=2\n[T]\nb=3\n[s]\nc=4\n");
    EXPECT_EQ(ini.ReadSection(L"S"), (Keys{L"a", L"A"}));
    EXPECT_EQ(ini.ReadString(L"S", L"a"), L"1");
    EXPECT_EQ(ini.ReadString(L"S", L"c", L"-"), L"-");
}

TEST(IniFile, LineEndsOfEveryKindAndAByteOrderMarkAreAccepted) {
    const TIniReader ini(L"\xFEFF[S]\ra=1\r\nb=2\nc=3");
    EXPECT_EQ(ini.ReadSection(L"S"), (Keys{L"a", L"b", L"c"}));
    EXPECT_EQ(ini.ReadString(L"S", L"c"), L"3");
}

TEST(IniFile, ADamagedSectionHeaderOwnsNoKeys) {
    const TIniReader ini(L"[A]\nx=1\n[B\ny=2\n[C] trailing\nz=3\n");
    EXPECT_EQ(ini.ReadSection(L"A"), (Keys{L"x"}));
    EXPECT_EQ(ini.ReadString(L"A", L"y", L"-"), L"-");
    EXPECT_EQ(ini.ReadString(L"C", L"z"), L"3");
}

TEST(IniFile, LongValuesAreCutAt2047Characters) {
    const std::wstring longValue(3000, L'x');
    const TIniReader ini(L"[S]\nlong=" + longValue + L"\nexact=" + std::wstring(2047, L'y') + L"\nquoted=\"" +
                         std::wstring(2047, L'z') + L"\"\n");
    EXPECT_EQ(ini.ReadString(L"S", L"long"), std::wstring(2047, L'x'));
    EXPECT_EQ(ini.ReadString(L"S", L"exact"), std::wstring(2047, L'y'));
    // The limit counts the characters after the quotes went.
    EXPECT_EQ(ini.ReadString(L"S", L"quoted"), std::wstring(2047, L'z'));
}

TEST(IniFile, ACutNeverLeavesHalfACharacterPair) {
    if constexpr (sizeof(wchar_t) != 2)
        GTEST_SKIP() << "wide characters hold whole code points here";
    // 2046 letters, then a character outside the basic plane as two units at 2047..2048.
    const std::wstring value = std::wstring(2046, L'a') + L"\xD83D\xDE00" + L"b";
    const TIniReader ini(L"[S]\nk=" + value + L"\n");
    EXPECT_EQ(ini.ReadString(L"S", L"k"), std::wstring(2046, L'a'));
}

TEST(IniFile, EveryKeyOfALargeSectionIsListed) {
    // Far more key names than a 16,384-byte name list could hold.
    std::wstring text = L"[Big]\n";
    for (int i = 0; i < 3000; ++i)
        text += L"SomeComponentName" + std::to_wstring(i) + L"=v" + std::to_wstring(i) + L"\n";
    const TIniReader ini(text);
    const Keys keys = ini.ReadSection(L"Big");
    ASSERT_EQ(keys.size(), 3000u);
    EXPECT_EQ(keys.back(), L"SomeComponentName2999");
    EXPECT_EQ(ini.ReadString(L"Big", L"somecomponentname2999"), L"v2999");
}

TEST(IniFile, SameTextFoldsOnlyLetterCase) {
    EXPECT_TRUE(SameIniName(L"acFileNew", L"ACFILENEW"));
    EXPECT_FALSE(SameIniName(L"acFileNew", L"acFileNew1"));
    EXPECT_FALSE(SameIniName(L"a[", L"A{")); // '[' and '{' differ by the case bit but are no letters
    EXPECT_TRUE(SameIniName(L"", L""));
}
