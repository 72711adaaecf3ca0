#include "core/LanguageText.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::wstring>;

TEST(LanguageText, ABarSplitsCaptionFromHintAtTheFirstBar) {
    TComponentText t = SplitComponentText(L"Save|Save the picture");
    EXPECT_EQ(t.Caption, L"Save");
    EXPECT_EQ(t.Hint, L"Save the picture");
    t = SplitComponentText(L"One|Two|Three");
    EXPECT_EQ(t.Caption, L"One");
    EXPECT_EQ(t.Hint, L"Two|Three");
    t = SplitComponentText(L"|only a hint");
    EXPECT_EQ(t.Caption, L"");
    EXPECT_EQ(t.Hint, L"only a hint");
    t = SplitComponentText(L"Caption only|");
    EXPECT_EQ(t.Caption, L"Caption only");
    EXPECT_EQ(t.Hint, L"");
}

TEST(LanguageText, TheHintLosesAcceleratorMarksWhileTheCaptionKeepsThem) {
    TComponentText t = SplitComponentText(L"&Open...|&Open a picture");
    EXPECT_EQ(t.Caption, L"&Open...");
    EXPECT_EQ(t.Hint, L"Open a picture");
    // Without a bar the value is both parts.
    t = SplitComponentText(L"E&xit");
    EXPECT_EQ(t.Caption, L"E&xit");
    EXPECT_EQ(t.Hint, L"Exit");
    // A doubled mark is a literal ampersand and survives in the hint as one.
    t = SplitComponentText(L"Q&&A Board");
    EXPECT_EQ(t.Caption, L"Q&&A Board");
    EXPECT_EQ(t.Hint, L"Q&A Board");
    EXPECT_EQ(RemoveAccelerators(L"&&&a&"), L"&a");
}

TEST(LanguageText, TheLineBreakMarkBecomesCarriageReturnAndLineFeed) {
    EXPECT_EQ(ExpandLineBreaks(L"one#13#10two#13#10"), L"one\r\ntwo\r\n");
    EXPECT_EQ(ExpandLineBreaks(L"#13#1"), L"#13#1");
    EXPECT_EQ(ExpandLineBreaks(L"#13#13#10"), L"#13\r\n");
    // The break is made before the split, so a multi-line caption can have a hint too.
    const TComponentText t = SplitComponentText(L"Line 1#13#10Line 2|Tip");
    EXPECT_EQ(t.Caption, L"Line 1\r\nLine 2");
    EXPECT_EQ(t.Hint, L"Tip");
}

TEST(LanguageText, TextSplitsIntoLinesAsAListTakesThem) {
    EXPECT_EQ(SplitLines(L"High\r\nMiddle\r\nLow"), (Lines{L"High", L"Middle", L"Low"}));
    EXPECT_EQ(SplitLines(L"a\r\n"), (Lines{L"a"}));
    EXPECT_EQ(SplitLines(L"a\n\nb\rc"), (Lines{L"a", L"", L"b", L"c"}));
    EXPECT_TRUE(SplitLines(L"").empty());
}

TEST(LanguageText, TheStoredLanguageIsKeptOnlyWhenItIsOneOfTheTwoWords) {
    EXPECT_EQ(SettleLanguage(L"Korea", 1033), L"Korea");
    EXPECT_EQ(SettleLanguage(L"English", 1042), L"English");
    // Empty (first start), another word or another case: the system locale decides.
    EXPECT_EQ(SettleLanguage(L"", 1042), L"Korea");
    EXPECT_EQ(SettleLanguage(L"", 1033), L"English");
    EXPECT_EQ(SettleLanguage(L"Japanese", 1042), L"Korea");
    EXPECT_EQ(SettleLanguage(L"korea", 1033), L"English");
    EXPECT_EQ(SettleLanguage(L"", std::nullopt), L"English");
    EXPECT_EQ(LanguageFileName(L"Korea"), L"Korea.dat");
}

TEST(LanguageText, OnlyTheBareFileNameIsTakenIntoTheLanguageFolder) {
    const std::wstring folder = L"C:\\Program Files\\Tolvex";
    EXPECT_EQ(LanguageFilePath(folder, L"English.dat"), L"C:\\Program Files\\Tolvex\\Language\\English.dat");
    EXPECT_EQ(LanguageFilePath(folder + L"\\", L"D:\\elsewhere\\Korea.dat"),
              L"C:\\Program Files\\Tolvex\\Language\\Korea.dat");
    EXPECT_EQ(LanguageFilePath(folder, L"D:Korea.dat"), L"C:\\Program Files\\Tolvex\\Language\\Korea.dat");
    // A forward slash separates too, so no file outside the folder can be named.
    EXPECT_EQ(LanguageFilePath(folder, L"../../secret.dat"),
              L"C:\\Program Files\\Tolvex\\Language\\secret.dat");
    EXPECT_EQ(LanguageFilePath(folder, L""), L"");
}

TEST(LanguageText, AFontSizeIsAWholeNumberWithinOneTo72) {
    EXPECT_EQ(ParseFontSize(L"9"), 9);
    EXPECT_EQ(ParseFontSize(L"+12"), 12);
    EXPECT_EQ(ParseFontSize(L"072"), 72);
    EXPECT_EQ(ParseFontSize(L"1"), 1);
    for (const wchar_t* bad :
         {L"", L"0", L"73", L"-9", L"9.5", L"nine", L"9pt", L"+", L"99999999999999999999"})
        EXPECT_EQ(ParseFontSize(bad), std::nullopt) << "value: " << testing::PrintToString(std::wstring(bad));
}

TEST(LanguageText, AFormSectionGivesItsFormKeysAndEveryKeyInFileOrder) {
    const TIniReader ini(L"[OptionForm]\nbtnOK=OK|Confirm\nCaption=Options\nFontName=Gulim\n"
                         L"FontSize=bogus\ncbImageType=BMP#13#10PNG\n");
    const TFormSectionTexts texts = ReadFormSection(ini, L"optionform");
    EXPECT_EQ(texts.Caption, L"Options");
    EXPECT_EQ(texts.FontName, L"Gulim");
    // A damaged size is ignored; the rest of the section still applies.
    EXPECT_EQ(texts.FontSize, std::nullopt);
    ASSERT_EQ(texts.Components.size(), 5u);
    EXPECT_EQ(texts.Components[0], (std::pair<std::wstring, std::wstring>{L"btnOK", L"OK|Confirm"}));
    // The form keys stay in the list too; they simply name no component.
    EXPECT_EQ(texts.Components[1].first, L"Caption");
    EXPECT_EQ(texts.Components[4].second, L"BMP#13#10PNG"); // raw: split and broken when applied

    const TFormSectionTexts missing = ReadFormSection(ini, L"AboutForm");
    EXPECT_TRUE(missing.Caption.empty());
    EXPECT_EQ(missing.FontSize, std::nullopt);
    EXPECT_TRUE(missing.Components.empty());
}

TEST(LanguageText, MissingOrEmptyMessagesFallBackToTheirDefaultsInTableOrder) {
    const TIniReader ini(L"[Message]\nmsgCaptureFail=Capture failed.#13#10Try again.\nmsgEmptyPath=\n"
                         L"msgNewCapture=Untitled\n");
    EXPECT_EQ(ReadMessageText(ini, L"msgcapturefail"), L"Capture failed.\r\nTry again.");

    TMessageTexts texts;
    texts.msgSaveAfterExit = L"left over from the other language";
    std::vector<std::wstring> asked;
    LoadMessageTexts(
        [&](std::wstring_view key) {
            asked.emplace_back(key);
            return ReadMessageText(ini, key);
        },
        texts);
    EXPECT_EQ(asked,
              (std::vector<std::wstring>{L"msgNewCapture", L"msgCaptureFail", L"msgHistoryNotFound",
                                         L"msgOverwriteFile", L"msgSaveAfterExit", L"msgPathNotFound",
                                         L"msgEmptyPath", L"msgPagesNotCaptured", L"msgSizeOutOfRange"}));
    EXPECT_EQ(texts.msgNewCapture, L"Untitled");
    EXPECT_EQ(texts.msgCaptureFail, L"Capture failed.\r\nTry again.");
    EXPECT_EQ(texts.msgHistoryNotFound, L"History not found!");
    EXPECT_EQ(texts.msgOverwriteFile, L"File exist! Overwrite?");
    EXPECT_EQ(texts.msgSaveAfterExit, L"Save after exit?");
    EXPECT_EQ(texts.msgPathNotFound, L"folder not found!");
    EXPECT_EQ(texts.msgEmptyPath, L"Folder name empty!");
}

TEST(LanguageText, NumbersGoIntoAMessageInOrderOrByIndexAndAnythingElseStaysAsWritten) {
    const long long counts[] = {2, 5};
    EXPECT_EQ(FormatNumbers(L"%d of %d pages could not be captured.", counts),
              L"2 of 5 pages could not be captured.");
    // A language that names the total first.
    EXPECT_EQ(FormatNumbers(L"%1:d / %0:d, then %d", counts), L"5 / 2, then 5");
    EXPECT_EQ(FormatNumbers(L"100%% %d", counts), L"100% 2");
    // A language file is no format: what has no number to take stays, nothing is read
    // beyond the numbers given.
    EXPECT_EQ(FormatNumbers(L"%s %x %d %d %d %2:d %99999999999999999999:d %", counts),
              L"%s %x 2 5 %d %2:d %99999999999999999999:d %");
    EXPECT_EQ(FormatNumbers(L"%1d %1:", counts), L"%1d %1:");
    // A name goes in at "%s" as it stands: a placeholder inside it is never read.
    EXPECT_EQ(FormatNameAndNumbers(L"\"%s\" from %d to %d, %%s", L"W%d %s", counts),
              L"\"W%d %s\" from 2 to 5, %s");
    EXPECT_EQ(FormatNameAndNumbers(L"%1:d..%0:d in %s", L"Width", counts), L"5..2 in Width");
}
