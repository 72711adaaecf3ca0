#include "forms/Files.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "forms/Exceptions.h"
#include "forms/Handles.h"
#include "tests/forms/ScratchFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TFileHandle Open(const std::wstring& path, DWORD access) {
    return TFileHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

TEST(Files, ReadingWholeRespectsTheSizeLimitExactly) {
    TScratchFolder folder(L"TolvexFilesTest");
    const std::wstring file = folder.File(L"ten.bin");
    WriteFileAtomic(file, Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});

    TFileRead read = ReadOpenFile(Open(file, GENERIC_READ).Get(), 10);
    ASSERT_EQ(read.Status, TReadStatus::Read);
    EXPECT_EQ(read.Bytes, (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(read.Shortened);
    EXPECT_EQ(read.Chars().substr(1, 2), std::string_view("\x01\x02", 2));

    // One byte over the limit allocates and reads nothing.
    read = ReadOpenFile(Open(file, GENERIC_READ).Get(), 9);
    EXPECT_EQ(read.Status, TReadStatus::TooLarge);
    EXPECT_TRUE(read.Bytes.empty());
}

TEST(Files, AFailedReadOrWriteReportsTheSystemsReason) {
    TScratchFolder folder(L"TolvexFilesTest");
    const std::wstring file = folder.File(L"one.bin");
    WriteFileAtomic(file, Bytes{42});

    // A handle opened for writing only cannot be read, and the other way round.
    const TFileRead read = ReadOpenFile(Open(file, GENERIC_WRITE).Get(), 100);
    EXPECT_EQ(read.Status, TReadStatus::Failed);
    EXPECT_EQ(read.Error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    DWORD error = 0;
    EXPECT_FALSE(WriteOpenFile(Open(file, GENERIC_READ).Get(), Bytes{1, 2}, error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFileBytes(file), Bytes{42});
}

TEST(Files, AnAtomicWriteReplacesWholeOrKeepsTheOldFileAndLeavesNothingElse) {
    TScratchFolder folder(L"TolvexFilesTest");
    const std::wstring file = folder.File(L"picture.bin");
    EXPECT_EQ(TryWriteFileAtomic(file, Bytes{1, 2, 3}, true), 0u);
    EXPECT_EQ(TryWriteFileAtomic(file, Bytes{4}, false), 0u);
    EXPECT_EQ(ReadFileBytes(file), Bytes{4});

    // A new-file write over an existing one fails and keeps it.
    EXPECT_EQ(TryWriteFileAtomic(file, Bytes{5, 6}, true), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadFileBytes(file), Bytes{4});

    // A read-only file is not replaced.
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(TryWriteFileAtomic(file, Bytes{7}, false), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_THROW(WriteFileAtomic(file, Bytes{7}), EOSError);
    EXPECT_EQ(ReadFileBytes(file), Bytes{4});

    // Neither the writes nor the failures left a temporary file behind.
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.bin"});
}

TEST(Files, AnAtomicWriteWaitsForAReaderThatHoldsTheFileBrieflyAndFailsWhenItStays) {
    TScratchFolder folder(L"TolvexFilesTest");
    const std::wstring file = folder.File(L"settings.ini");
    WriteFileAtomic(file, Bytes{1});
    {
        // Another program reads the file for a moment: others may read and write it, but
        // not replace it.
        TFileHandle reader = Open(file, GENERIC_READ);
        ASSERT_TRUE(reader);
        std::thread closer([&reader] {
            Sleep(50);
            reader.Reset();
        });
        EXPECT_EQ(TryWriteFileAtomic(file, Bytes{2}, false), 0u);
        closer.join();
    }
    EXPECT_EQ(ReadFileBytes(file), Bytes{2});

    // A reader that stays: the write fails with the reason and keeps the old file.
    {
        const TFileHandle reader = Open(file, GENERIC_READ);
        const DWORD error = TryWriteFileAtomic(file, Bytes{3}, false);
        EXPECT_TRUE(error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) << error;
    }
    EXPECT_EQ(ReadFileBytes(file), Bytes{2});
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"settings.ini"});
}
