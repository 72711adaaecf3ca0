#pragma once
// The folder browser: asks the user for a folder through the shell's browse-for-folder
// dialog, whose OK button works only while an existing file-system folder is selected.
#include <windows.h>

#include <shlobj.h>

#include <functional>
#include <string>

#include "forms/Component.h"

using TOnSelChanged = std::function<void(TObject* sender, const std::wstring& path, bool& enableOk)>;
using TOnSetPosition = std::function<void(TObject* sender, int& left, int& top, int width, int height)>;

class TBrowseForFolder : public TComponent {
public:
    explicit TBrowseForFolder(TForm* owner, std::wstring name = L"BrowseForFolder1");

    // Before a run: the folder to preselect (empty: none). After a confirmed run: the
    // chosen folder.
    std::wstring Path;
    // The status line of the old-style dialog (empty: none).
    std::wstring StatusText;
    TOnSelChanged OnSelChanged;
    // The text above the folder tree (empty: none).
    std::wstring Title;
    bool NewDialogStyle = false;
    bool EditBox = false;
    TOnSetPosition OnSetPosition;

    // Runs the dialog; true when the user confirmed a folder (then in Path), false when
    // it was cancelled (Path unchanged).
    bool Execute();

    // The dialog while a selection change is being handled; null otherwise.
    HWND DialogHandle() const { return dialog_; }

protected:
    // Hooks for descendants, run after the matching event.
    virtual void SelChanged(const std::wstring& path, bool& enableOk);
    virtual void SetPosition(int& left, int& top, int width, int height);

private:
    static int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM lParam, LPARAM data);
    void DialogCreated(HWND wnd);
    void SelectionChanged(HWND wnd, LPCITEMIDLIST item);

    HWND dialog_ = nullptr;
};

// The file-system path of a shell item; empty for items outside the file system.
std::wstring ShellItemPath(LPCITEMIDLIST item);
