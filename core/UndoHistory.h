#pragma once
// The undo history of one document: every state is a complete copy of the image, kept as a
// 32-bit BMP file in the undo folder, with a current position. The history offers the
// mechanics only; when states are pushed and how many are kept is the document's policy.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Bitmap32.h"
#include "core/StateFileName.h"

// What the history needs from the system: the temporary folder, the clock and the files.
// The program supplies the real ones; tests supply fakes.
class THistoryEnvironment {
public:
    virtual ~THistoryEnvironment() = default;
    virtual std::wstring TempFolder() = 0;
    // Creates the folder and every missing folder above it; throws when it cannot.
    virtual void CreateFolders(const std::wstring& folder) = 0;
    virtual TLocalTime LocalTime() = 0;
    virtual wchar_t DecimalSeparator() = 0;
    virtual void Wait(unsigned milliseconds) = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    // Writes a new file; throws when it cannot, leaving no partial file behind.
    virtual void StoreFile(const std::wstring& path, std::span<const std::uint8_t> data) = 0;
    // Reads a whole file; false when it is missing or unreadable.
    virtual bool LoadFile(const std::wstring& path, std::vector<std::uint8_t>& data) = 0;
    // Deletes a file; a failure is ignored.
    virtual void RemoveFile(const std::wstring& path) = 0;
};

class TUndoHistory {
public:
    // Every try of a new name waits this long, so that the next try sees a later time.
    static constexpr unsigned kNameRetryDelay = 10;
    // Tries before giving up, for a clock that stands still or a folder full of stale names.
    static constexpr int kMaxNameTries = 300;

    explicit TUndoHistory(THistoryEnvironment& environment) : environment_(environment) {}
    TUndoHistory(const TUndoHistory&) = delete;
    TUndoHistory& operator=(const TUndoHistory&) = delete;
    // Deletes every state file still listed.
    ~TUndoHistory();

    // Full paths of the state files, oldest first; entry i is state i.
    const std::vector<std::wstring>& FileList() const { return fileList_; }
    // Position of the current state; -1 while the history is empty.
    int Index() const { return index_; }
    int Count() const { return static_cast<int>(fileList_.size()); }
    // The state at position 0 is never undone past.
    bool CanUndo() const { return index_ >= 1; }
    bool CanRedo() const { return index_ < Count() - 1; }

    // Moves the position; anything outside 0 .. Count - 1 is ignored.
    void SetIndex(int i);
    // Drops the states after the position (their files deleted, last first), then stores the
    // bitmap as a new state at the end. The position is left as it was. A failing write
    // throws, after the redo tail is gone, and appends nothing.
    void Add(const TBitmap32& bitmap);
    // Loads the current state into the bitmap. False, with the bitmap untouched, when there
    // is no current state or its file is missing or damaged.
    bool Restore(TBitmap32& bitmap) const;
    // Deletes the file of entry i and removes the entry; outside 0 .. Count - 1 nothing.
    void Delete(int i);
    // Deletes every entry from the last to the first; the position becomes -1.
    void Clear();

    // A state-file path that no file has yet, in the undo folder, which is created when
    // missing. Waits kNameRetryDelay on every try, so that two names taken in the same
    // millisecond differ; throws after kMaxNameTries.
    static std::wstring NewStateFileName(THistoryEnvironment& environment);

private:
    THistoryEnvironment& environment_;
    std::vector<std::wstring> fileList_;
    int index_ = -1;
};
