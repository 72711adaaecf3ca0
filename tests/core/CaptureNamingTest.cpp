#include "core/CaptureNaming.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

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
    std::vector<std::wstring> asked;
    const auto failsAtThree = [&](const std::wstring& n) {
        asked.push_back(n);
        return asked.size() == 3 ? TNameProbe::Failed : TNameProbe::Taken;
    };
    const TAutoSaveName failed = MakeUniqueFileName(L"F:", L"png", failsAtThree);
    EXPECT_EQ(failed.Probe, TNameProbe::Failed);
    EXPECT_EQ(failed.Name, L"F:\\Capture_3.png");
    EXPECT_EQ(asked.size(), 3u);

    // Everything taken: the last number tried is the limit, and nothing is returned.
    unsigned long long count = 0;
    const auto allTaken = [&](const std::wstring&) {
        ++count;
        return TNameProbe::Taken;
    };
    const TAutoSaveName none = MakeUniqueFileName(L"F:", L"png", allTaken);
    EXPECT_EQ(none.Probe, TNameProbe::Taken);
    EXPECT_TRUE(none.Name.empty());
    EXPECT_EQ(count, 100000u);
    EXPECT_EQ(MakeUniqueFileName(L"F:", L"png", allTaken, 2).Probe, TNameProbe::Taken);
    EXPECT_EQ(count, 100002u);
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
