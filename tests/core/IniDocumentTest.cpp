#include "core/IniDocument.h"

#include <gtest/gtest.h>

TEST(IniDocument, ReadsKeysOfASectionWithoutRegardToCaseBlanksOrQuotes) {
    const TIniDocument ini(L"; settings\n[Other]\nA=1\n[tolvex]\n  Language =  English \r\n"
                           L"OutputFolder=\"C:\\Shots\"\r\nq='x\"\nNoValue\n[Tolvex]\nA=second\n");
    EXPECT_EQ(ini.Read(L"Tolvex", L"language"), L"English");
    EXPECT_EQ(ini.Read(L"Tolvex", L"OutputFolder"), L"C:\\Shots");
    EXPECT_EQ(ini.Read(L"Tolvex", L"q"), L"'x\""); // unmatched quotes stay
    EXPECT_EQ(ini.Read(L"Tolvex", L"NoValue"), L"");
    EXPECT_FALSE(ini.Read(L"Tolvex", L"A").has_value()) << "only the first section of a name is read";
    EXPECT_EQ(ini.Read(L"Other", L"A"), L"1");
    EXPECT_FALSE(ini.Read(L"Missing", L"A").has_value());
}

TEST(IniDocument, NewKeysGoToTheEndOfTheirSectionInWriteOrderAndOtherLinesStay) {
    TIniDocument ini(L"; mine\r\n[Tolvex]\r\nisSound=FALSE\r\n\r\n[Other]\r\nKeep=1");
    ini.Write(L"Tolvex", L"FormVersion", L"0");
    ini.Write(L"Tolvex", L"Flags", L"0");
    ini.Write(L"TOLVEX", L"ISSOUND", L"TRUE");
    EXPECT_EQ(ini.Text(), L"; mine\r\n[Tolvex]\r\nisSound=TRUE\r\nFormVersion=0\r\nFlags=0\r\n\r\n"
                          L"[Other]\r\nKeep=1\r\n");
}

TEST(IniDocument, AMissingSectionIsAddedAfterTheLastLine) {
    TIniDocument empty;
    empty.Write(L"Tolvex", L"FormVersion", L"0");
    EXPECT_EQ(empty.Text(), L"[Tolvex]\r\nFormVersion=0\r\n");

    TIniDocument other(L"[Other]\nKeep=1\n");
    other.Write(L"Tolvex", L"Language", L"Korea");
    EXPECT_EQ(other.Text(), L"[Other]\r\nKeep=1\r\n\r\n[Tolvex]\r\nLanguage=Korea\r\n");
    EXPECT_EQ(other.Keys(L"Tolvex"), std::vector<std::wstring>{L"Language"});
}

TEST(IniDocument, ValuesThatReadingWouldAlterAreQuotedAndReadBackExactly) {
    TIniDocument ini;
    for (std::wstring value : {L" lead", L"trail ", L"\"quoted\"", L"'single'", L"", L"plain"}) {
        ini.Write(L"S", L"K", value);
        EXPECT_EQ(ini.Read(L"S", L"K"), value);
    }
    // A line break cannot be held in one line; it must not start a new key either.
    ini.Write(L"S", L"K", L"a\r\nInjected=1");
    EXPECT_EQ(ini.Read(L"S", L"K"), L"a  Injected=1");
    EXPECT_FALSE(ini.Read(L"S", L"Injected").has_value());
}
