#include "editor/unitHistory.h"

#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>

#include "forms/Exceptions.h"
#include "forms/Files.h"

namespace {

std::wstring Extended(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

bool FileThere(const std::wstring& path) {
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(Extended(folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + L"\\" + name);
            else
                DeleteFileW(Extended(folder + L"\\" + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(Extended(folder).c_str());
}

// Points the user's temporary folder (the TMP setting) at a folder of the test's own, and
// puts everything back afterwards.
class HistoryFiles : public testing::Test {
protected:
    void SetUp() override {
        const DWORD size = GetEnvironmentVariableW(L"TMP", nullptr, 0);
        hadTmp_ = size != 0;
        if (hadTmp_) {
            oldTmp_.resize(size);
            oldTmp_.resize(GetEnvironmentVariableW(L"TMP", oldTmp_.data(), size));
        }
        std::wstring temp = TempFolder();
        base_ = temp + L"tolvex-history-" + std::to_wstring(GetCurrentProcessId());
        RemoveTree(base_);
        ASSERT_TRUE(CreateDirectoryW(base_.c_str(), nullptr));
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
        RemoveTree(base_);
    }
    void UseTemp(const std::wstring& folder) { SetEnvironmentVariableW(L"TMP", folder.c_str()); }

    std::wstring base_;

private:
    bool hadTmp_ = false;
    std::wstring oldTmp_;
};

TBitmap32 Transparencies() {
    TBitmap32 picture(3, 2, 0xFF808080u);
    picture.SetPixel(0, 0, 0x00FF0000u);
    picture.SetPixel(1, 0, 0x80204060u);
    picture.SetPixel(2, 1, 0xFF0A0B0Cu);
    return picture;
}

void Push(THistory& history, const TBitmap32& picture) {
    history.Add(picture);
    history.SetIndex(history.Count() - 1);
}

} // namespace

TEST_F(HistoryFiles, StateFilesAppearInTheUndoFolderAndAreGoneAfterClear) {
    // The temporary folder itself is missing too: every folder on the way is made.
    UseTemp(base_ + L"\\missing\\temp\\");
    THistory history;
    Push(history, Transparencies());
    Push(history, TBitmap32(1, 1));
    ASSERT_EQ(history.Count(), 2);
    for (const std::wstring& path : history.FileList()) {
        EXPECT_EQ(path.rfind(base_ + L"\\missing\\temp\\~Vrim\\~", 0), 0u) << path.c_str();
        EXPECT_EQ(path.substr(path.size() - 4), L".bmp");
        EXPECT_TRUE(FileThere(path));
    }
    EXPECT_NE(history.FileList()[0], history.FileList()[1]);
    const auto files = history.FileList();
    history.Clear();
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(history.Index(), -1);
    for (const std::wstring& path : files)
        EXPECT_FALSE(FileThere(path));
}

TEST_F(HistoryFiles, AFreedHistoryLeavesNoStateFiles) {
    UseTemp(base_);
    std::vector<std::wstring> files;
    {
        THistory first;
        THistory second; // another document, same folder
        Push(first, TBitmap32(2, 2));
        Push(second, TBitmap32(2, 2));
        files = {first.FileList()[0], second.FileList()[0]};
        EXPECT_NE(files[0], files[1]);
    }
    for (const std::wstring& path : files)
        EXPECT_FALSE(FileThere(path));
}

TEST_F(HistoryFiles, RestoreReadsTheStateBackWithItsAlphaOrReportsItMissing) {
    UseTemp(base_);
    THistory history;
    Push(history, Transparencies());
    Push(history, TBitmap32(1, 1, 0xFFFFFFFFu));
    history.SetIndex(0);
    TBitmap32 image(7, 7);
    ASSERT_TRUE(history.Restore(image));
    EXPECT_EQ(image, Transparencies());

    // A state file damaged behind the history's back.
    history.SetIndex(1);
    {
        std::ofstream damage(history.FileList()[1].c_str(), std::ios::binary | std::ios::trunc);
        damage << "BM";
    }
    EXPECT_FALSE(history.Restore(image));
    // And one deleted.
    history.SetIndex(0);
    ASSERT_TRUE(DeleteFileW(history.FileList()[0].c_str()));
    EXPECT_FALSE(history.Restore(image));
    EXPECT_EQ(image, Transparencies());
}

TEST_F(HistoryFiles, ALongTemporaryFolderIsReadWholeAndUsed) {
    // As long as the system lets it be (its own limit is the classic one); the state files
    // in it are longer than that.
    std::wstring longTemp = base_ + L"\\";
    while (longTemp.size() + 30 < MAX_PATH - 6)
        longTemp += L"a-rather-long-folder-name\\";
    longTemp += std::wstring(MAX_PATH - 6 - longTemp.size(), L'b') + L"\\";
    UseTemp(longTemp);
    EXPECT_EQ(TempFolder(), longTemp);
    THistory history;
    Push(history, Transparencies());
    const std::wstring path = history.FileList()[0];
    EXPECT_GT(path.size(), std::size_t{MAX_PATH});
    EXPECT_EQ(path.rfind(longTemp + L"~Vrim\\~", 0), 0u);
    EXPECT_TRUE(FileThere(path));
    TBitmap32 image;
    EXPECT_TRUE(history.Restore(image));
    EXPECT_EQ(image, Transparencies());
    history.Clear();
    EXPECT_FALSE(FileThere(path));
}

TEST_F(HistoryFiles, AnUndoFolderThatCannotBeMadeFailsWithAClearError) {
    // A file stands where the temporary folder should be.
    const std::wstring blocker = base_ + L"\\blocker";
    std::ofstream(blocker.c_str()) << "x";
    UseTemp(blocker + L"\\");
    THistory history;
    try {
        history.Add(TBitmap32(1, 1));
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(L"cannot be created"), std::wstring::npos);
    }
    EXPECT_EQ(history.Count(), 0);
}
