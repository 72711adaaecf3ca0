#pragma once
// The undo history of a document, with its state files in the undo folder "~Vrim" of the
// user's temporary folder (which the program empties at exit).
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
