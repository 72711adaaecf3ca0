#pragma once
// What a document window needs of the main window that holds it: the base name of new
// documents, the tab strip, the status bar and the count of open documents. The main
// window implements it; the editor never sees the main window itself.
#include <string>

class TTabSheet;

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    // The caption every document window starts with.
    virtual std::wstring NewDocumentCaption() const = 0;
    // Makes the tab the active page of the tab strip (null: nothing).
    virtual void SelectDocumentTab(TTabSheet* sheet) = 0;
    virtual void SetStatusText(int index, const std::wstring& text) = 0;
    virtual int DocumentCount() const = 0;
    // The message of a drag preview that could not be taken back.
    virtual std::wstring HistoryNotFoundMessage() const = 0;

    // ---- Saving and closing ----
    // The message texts of the overwrite and the save-on-close questions.
    virtual std::wstring OverwriteQuestion() const = 0;
    virtual std::wstring SaveAfterExitQuestion() const = 0;
    // The stored JPEG quality (1..100).
    virtual int JpegQuality() const = 0;
    // Shows the main window before a question about a document.
    virtual void ShowForQuestion() = 0;
    // Runs the save dialog at the stored file type, proposing the name (empty: the
    // dialog's last one); the chosen name with the filter's extension, or false.
    virtual bool AskSaveFileName(const std::wstring& proposal, std::wstring& fileName) = 0;
    // Records the answer of a save question asked while closing (6 Yes, 7 No, 2 Cancel).
    virtual void SetCloseResult(int result) = 0;
};
