#include "core/CaptureNaming.h"

#include <gtest/gtest.h>
#include <set>

TEST(CaptureNaming, TheFirstFreeNumberIsTakenAndOnlyTheSameExtensionBlocks) {
    const std::set<std::wstring> files = {L"D:\\Shots\\Capture_1.jpg", L"D:\\Shots\\Capture_2.jpg",
                                          L"D:\\Shots\\Capture_4.jpg", L"D:\\Shots\\Capture_3.png"};
    const auto probe = [&](const std::wstring& n) {
        return files.count(n) ? TNameProbe::Taken : TNameProbe::Free;
    };
    const TAutoSaveName jpg = MakeUniqueFileName(L"D:\\Shots", L"jpg", probe);
    EXPECT_EQ(jpg.Probe, TNameProbe::Free);
    EXPECT_EQ(jpg.Name, L"D:\\Shots\\Capture_3.jpg");
    EXPECT_EQ(MakeUniqueFileName(L"D:\\Shots", L"bmp", probe).Name, L"D:\\Shots\\Capture_1.bmp");
}

TEST(CaptureNaming, OnlyATakenNameMovesOnAndTheSearchEndsAtTheLimit) {
    // A name that cannot be looked up stops the search at that name.
    int asked = 0;
    const auto failsAtTwo = [&](const std::wstring&) {
        return ++asked == 2 ? TNameProbe::Failed : TNameProbe::Taken;
    };
    const TAutoSaveName failed = MakeUniqueFileName(L"F:", L"png", failsAtTwo);
    EXPECT_EQ(failed.Probe, TNameProbe::Failed);
    EXPECT_EQ(failed.Name, L"F:\\Capture_2.png");
    // Everything taken up to the limit: no name.
    const TAutoSaveName none = MakeUniqueFileName(
        L"F:", L"png", [](const std::wstring&) { return TNameProbe::Taken; }, 3);
    EXPECT_EQ(none.Probe, TNameProbe::Taken);
    EXPECT_TRUE(none.Name.empty());
}

TEST(CaptureNaming, AFolderEndingInASeparatorStillGetsOneInserted) {
    EXPECT_EQ(AutoSaveFileName(L"D:\\", 1, L"bmp"), L"D:\\\\Capture_1.bmp");
    EXPECT_EQ(AutoSaveFileName(L"", 12, L"png"), L"\\Capture_12.png");
}

TEST(CaptureNaming, ExtensionsAreCutOnlyFromTheLastPathPart) {
    EXPECT_EQ(CaptionWithoutExtension(L"New.png"), L"New");
    EXPECT_EQ(CaptionWithoutExtension(L"a.b.c"), L"a.b");
    EXPECT_EQ(CaptionWithoutExtension(L"C:\\dir.x\\New"), L"C:\\dir.x\\New");
    EXPECT_EQ(CaptionWithoutExtension(L"New"), L"New");
}

TEST(CaptureNaming, NewDocumentsTakeTheFirstNameNoOpenDocumentBears) {
    EXPECT_EQ(NewDocumentName(L"New", {}), L"New");
    EXPECT_EQ(NewDocumentName(L"New", {L"*New"}), L"New 2");
    EXPECT_EQ(NewDocumentName(L"New", {L"*New", L"*New 3"}), L"New 2");
    EXPECT_EQ(NewDocumentName(L"New", {L"New.png"}), L"New 2");
    EXPECT_EQ(NewDocumentName(L"New", {L"new"}), L"New");
    // The scan starts over after every match, so the order of the windows does not matter.
    EXPECT_EQ(NewDocumentName(L"New", {L"New 2", L"New 3", L"New"}), L"New 4");
}
