#include "core/UndoHistory.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <stdexcept>

namespace {

// The temporary folder, clock and files of the history, all in memory. The clock moves only
// when the history waits: by `tick` milliseconds every `waitsPerTick` waits, so that a
// coarse system clock (one that a 10 ms wait need not move) can be played too.
class TFakeEnvironment : public THistoryEnvironment {
public:
    std::wstring temp = L"C:\\Temp\\";
    wchar_t separator = L'.';
    int millisecondOfDay = 12 * 3600000; // noon of 9 December 2025, day 46000
    int tick = 10;
    int waitsPerTick = 1;
    std::vector<unsigned> waits;
    std::set<std::wstring> folders;
    std::map<std::wstring, std::vector<std::uint8_t>> files;
    std::vector<std::wstring> removed;
    bool failStore = false;
    bool failFolder = false;

    std::wstring TempFolder() override { return temp; }
    void CreateFolders(const std::wstring& folder) override {
        if (failFolder)
            throw std::runtime_error("folder not creatable");
        folders.insert(folder);
    }
    TLocalTime LocalTime() override {
        const int ms = millisecondOfDay;
        return {2025, 12, 9, ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
    }
    wchar_t DecimalSeparator() override { return separator; }
    void Wait(unsigned milliseconds) override {
        waits.push_back(milliseconds);
        if (waits.size() % static_cast<std::size_t>(waitsPerTick) == 0)
            millisecondOfDay += tick;
    }
    bool Exists(const std::wstring& path) override { return files.count(path) != 0; }
    void StoreFile(const std::wstring& path, std::span<const std::uint8_t> data) override {
        if (failStore)
            throw std::runtime_error("disk full");
        files[path].assign(data.begin(), data.end());
    }
    bool LoadFile(const std::wstring& path, std::vector<std::uint8_t>& data) override {
        const auto it = files.find(path);
        if (it == files.end())
            return false;
        data = it->second;
        return true;
    }
    void RemoveFile(const std::wstring& path) override {
        removed.push_back(path);
        files.erase(path);
    }
};

TBitmap32 Picture(TColor32 colour) {
    return TBitmap32(3, 2, colour);
}

// States 0 .. count - 1, picture i filled with colour i; the owner's position on the last.
void Push(TUndoHistory& history, int count) {
    for (int i = 0; i < count; ++i) {
        history.Add(Picture(static_cast<TColor32>(i)));
        history.SetIndex(history.Count() - 1);
    }
}

} // namespace

TEST(UndoHistory, ANewHistoryIsEmptyAndCanNeitherUndoNorRedo) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    EXPECT_EQ(history.Count(), 0);
    EXPECT_EQ(history.Index(), -1);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    TBitmap32 image = Picture(7);
    EXPECT_FALSE(history.Restore(image));
    EXPECT_EQ(image, Picture(7));
}

TEST(UndoHistory, AddLeavesThePositionWhereItWasAndTheOwnerMovesIt) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    history.Add(Picture(1));
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.Index(), -1);
    history.SetIndex(0);
    EXPECT_FALSE(history.CanUndo()); // one state: nothing to undo or redo
    EXPECT_FALSE(history.CanRedo());
    history.Add(Picture(2));
    EXPECT_EQ(history.Index(), 0);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());
    history.SetIndex(1);
    EXPECT_TRUE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    history.Add(Picture(3));
    history.SetIndex(2);
    history.SetIndex(1);
    EXPECT_TRUE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());
    // While the position is still -1, every earlier entry counts as redo tail.
    TUndoHistory unowned(env);
    unowned.Add(Picture(1));
    unowned.Add(Picture(2));
    EXPECT_EQ(unowned.Count(), 1);
}

TEST(UndoHistory, PositionsOutsideTheListAreIgnored) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    history.SetIndex(0);
    EXPECT_EQ(history.Index(), -1);
    Push(history, 3);
    history.SetIndex(-1);
    EXPECT_EQ(history.Index(), 2);
    history.SetIndex(3);
    EXPECT_EQ(history.Index(), 2);
    history.SetIndex(0);
    EXPECT_EQ(history.Index(), 0);

    const auto files = history.FileList();
    history.Delete(-1);
    history.Delete(3);
    EXPECT_EQ(history.FileList(), files);
    EXPECT_TRUE(env.removed.empty());
}

TEST(UndoHistory, AddDropsTheRedoTailLastFirstAndAppendsAfterThePosition) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    Push(history, 5);
    const auto before = history.FileList();
    history.SetIndex(2);
    history.Add(Picture(9));
    EXPECT_EQ(env.removed, (std::vector<std::wstring>{before[4], before[3]}));
    ASSERT_EQ(history.Count(), 4);
    EXPECT_EQ(history.Index(), 2);
    EXPECT_EQ(std::vector<std::wstring>(before.begin(), before.begin() + 3),
              std::vector<std::wstring>(history.FileList().begin(), history.FileList().begin() + 3));
    EXPECT_EQ(env.files.size(), 4u);
    EXPECT_EQ(env.files.count(history.FileList()[3]), 1u);
    // Nothing goes when the position is on the last state.
    history.SetIndex(3);
    env.removed.clear();
    history.Add(Picture(10));
    EXPECT_TRUE(env.removed.empty());
    EXPECT_EQ(history.Count(), 5);
}

TEST(UndoHistory, DeleteRemovesOneFileAndEntryAndLeavesThePosition) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    Push(history, 3);
    const auto before = history.FileList();
    history.Delete(1);
    EXPECT_EQ(history.FileList(), (std::vector<std::wstring>{before[0], before[2]}));
    EXPECT_EQ(env.files.count(before[1]), 0u);
    EXPECT_EQ(history.Index(), 2); // out of range now; the owner brings it back
    EXPECT_FALSE(history.CanRedo());
}

TEST(UndoHistory, ClearAndTheEndOfTheHistoryDeleteEveryStateFile) {
    TFakeEnvironment env;
    {
        TUndoHistory history(env);
        Push(history, 3);
        const auto before = history.FileList();
        history.Clear();
        EXPECT_EQ(env.removed, (std::vector<std::wstring>{before[2], before[1], before[0]}));
        EXPECT_EQ(history.Count(), 0);
        EXPECT_EQ(history.Index(), -1);
        Push(history, 2);
        EXPECT_EQ(env.files.size(), 2u);
    }
    EXPECT_TRUE(env.files.empty());
}

TEST(UndoHistory, RestoreBringsBackTheStateWithItsSizeAndAlpha) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    TBitmap32 state(2, 1);
    state.SetPixel(0, 0, 0x00FF0000u); // fully transparent red
    state.SetPixel(1, 0, 0x80204060u);
    history.Add(state);
    history.SetIndex(0);
    history.Add(Picture(0xFF112233u));
    TBitmap32 image(5, 5, 0xFFFFFFFFu);
    ASSERT_TRUE(history.Restore(image));
    EXPECT_EQ(image, state);
    history.SetIndex(1);
    ASSERT_TRUE(history.Restore(image));
    EXPECT_EQ(image, Picture(0xFF112233u));
}

TEST(UndoHistory, AMissingOrDamagedStateFileLeavesTheImageAndReportsFailure) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    Push(history, 2);
    const TBitmap32 shown = Picture(0xFFABCDEFu);
    TBitmap32 image = shown;

    env.files.erase(history.FileList()[1]);
    EXPECT_FALSE(history.Restore(image));
    EXPECT_EQ(image, shown);

    auto& damaged = env.files[history.FileList()[0]];
    damaged.resize(damaged.size() / 2);
    history.SetIndex(0);
    EXPECT_FALSE(history.Restore(image));
    env.files[history.FileList()[0]] = {'B', 'M'};
    EXPECT_FALSE(history.Restore(image));
    EXPECT_EQ(image, shown);
    EXPECT_EQ(history.Index(), 0);
}

TEST(UndoHistory, AFailedWriteAppendsNothingAfterTheRedoTailIsGone) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    Push(history, 3);
    history.SetIndex(0);
    env.failStore = true;
    EXPECT_THROW(history.Add(Picture(5)), std::runtime_error);
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(env.files.size(), 1u);
    env.failStore = false;
    env.failFolder = true;
    EXPECT_THROW(history.Add(Picture(5)), std::runtime_error);
    EXPECT_EQ(history.Count(), 1);
}

TEST(UndoHistory, StateFilesAreNamedByTheTimeInTheUndoFolder) {
    TFakeEnvironment env;
    TUndoHistory history(env);
    Push(history, 1);
    EXPECT_EQ(env.folders, std::set<std::wstring>{L"C:\\Temp\\~Vrim"});
    EXPECT_EQ(history.FileList()[0], L"C:\\Temp\\~Vrim\\~46000.5.bmp");
    EXPECT_EQ(env.waits, std::vector<unsigned>{10});

    env.separator = L',';
    env.millisecondOfDay = 18 * 3600000;
    Push(history, 1);
    EXPECT_EQ(history.FileList()[1], L"C:\\Temp\\~Vrim\\~46000,75.bmp");
    // A separator that cannot stand in a file name.
    env.separator = L'/';
    Push(history, 1);
    ASSERT_EQ(history.Count(), 3);
    EXPECT_EQ(history.FileList()[2], L"C:\\Temp\\~Vrim\\~46000_7500001157.bmp");
}

TEST(UndoHistory, NamesTakenWithinOneMillisecondDiffer) {
    TFakeEnvironment env;
    // A coarse clock: 16 ms steps that only every second wait sees.
    env.tick = 16;
    env.waitsPerTick = 2;
    TUndoHistory first(env);
    TUndoHistory second(env); // another document sharing the folder
    first.Add(Picture(1));
    second.Add(Picture(2));
    ASSERT_EQ(first.Count(), 1);
    ASSERT_EQ(second.Count(), 1);
    EXPECT_NE(first.FileList()[0], second.FileList()[0]);
    EXPECT_EQ(second.FileList()[0], L"C:\\Temp\\~Vrim\\~46000.5000001852.bmp"); // noon + 16 ms
    // Every try waits, the first included: one try for the first name, two for the second.
    EXPECT_EQ(env.waits, (std::vector<unsigned>{10, 10, 10}));
    EXPECT_EQ(env.folders.size(), 1u);
}

TEST(UndoHistory, AClockThatStandsStillEndsInAnErrorInsteadOfAHang) {
    TFakeEnvironment env;
    env.tick = 0;
    TUndoHistory history(env);
    Push(history, 1);
    EXPECT_THROW(history.Add(Picture(2)), std::runtime_error);
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(env.waits.size(), 1u + TUndoHistory::kMaxNameTries);
}
