#include "core/UndoHistory.h"

#include <exception>
#include <stdexcept>

#include "core/BmpCodec.h"

TUndoHistory::~TUndoHistory() {
    Clear();
}

void TUndoHistory::SetIndex(int i) {
    if (i >= 0 && i < Count())
        index_ = i;
}

void TUndoHistory::Add(const TBitmap32& bitmap) {
    for (int i = Count() - 1; i > index_; --i)
        Delete(i);
    const std::wstring path = NewStateFileName(environment_);
    environment_.StoreFile(path, EncodeBmp32(bitmap));
    fileList_.push_back(path);
}

bool TUndoHistory::Restore(TBitmap32& bitmap) const {
    if (index_ < 0 || index_ >= Count())
        return false;
    // Any failure of the read leaves the document's image as it is; the caller decides
    // what a missing state means.
    try {
        std::vector<std::uint8_t> data;
        if (!environment_.LoadFile(fileList_[static_cast<std::size_t>(index_)], data))
            return false;
        std::string error;
        return DecodeBmp(data, bitmap, error);
    } catch (const std::exception&) {
        return false;
    }
}

void TUndoHistory::Delete(int i) {
    if (i < 0 || i >= Count())
        return;
    const auto at = fileList_.begin() + i;
    environment_.RemoveFile(*at);
    fileList_.erase(at);
}

void TUndoHistory::Clear() {
    for (int i = Count() - 1; i >= 0; --i)
        Delete(i);
    index_ = -1;
}

std::wstring TUndoHistory::NewStateFileName(THistoryEnvironment& environment) {
    const std::wstring folder = UndoFolderPath(environment.TempFolder());
    for (int attempt = 0; attempt < kMaxNameTries; ++attempt) {
        // The folder is made again on every try: another program's clean-up may remove it.
        environment.CreateFolders(folder);
        const std::wstring path =
            StateFilePath(folder, environment.LocalTime(), environment.DecimalSeparator());
        environment.Wait(kNameRetryDelay);
        if (!environment.Exists(path))
            return path;
    }
    throw std::runtime_error("No free name for an undo state file in the temporary folder");
}
