#pragma once
// An edit box for a file name with a browse button at its right end that picks a file
// with the system's open dialog. Typing and browsing both raise OnChange.
#include <windows.h>

#include <functional>
#include <string>

#include "forms/StdCtrls.h"

class TFilenameEdit : public TEdit {
public:
    // width takes in the browse button.
    TFilenameEdit(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
                  int height = 21);

    std::wstring FileName() const { return Text(); }
    void SetFileName(const std::wstring& fileName) { SetText(fileName); }
    // The open dialog's filter: pairs of description and patterns, each part ended by "|".
    std::wstring Filter;
    TButton* BrowseButton() const { return button_; }
    // Runs the open dialog from the current name; a chosen file becomes the name.
    void Browse();

private:
    TButton* button_;
};

// When set, Browse asks it instead of showing the open dialog: it gets the current name
// and the filter and returns true with the chosen name.
extern std::function<bool(std::wstring& fileName, const std::wstring& filter)> OpenDialogHook;
