#pragma once
// The undo history of a document, with its state files in the undo folder "~Vrim" of the
// user's temporary folder.
#include <string>

#include "core/UndoHistory.h"

// The system's temporary folder, clock, locale and files as the history uses them.
THistoryEnvironment& SystemHistoryEnvironment();

class THistory : public TUndoHistory {
public:
    THistory() : TUndoHistory(SystemHistoryEnvironment()) {}
    static std::wstring NewStateFileName() {
        return TUndoHistory::NewStateFileName(SystemHistoryEnvironment());
    }
};

// The user's temporary folder as the system reports it, read at its full length.
std::wstring TemporaryFolder();
// The folder of all state files; the program empties it at exit.
std::wstring HistoryFolder();
