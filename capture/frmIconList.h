#pragma once
// The "Icon List" dialog of the icon capture: the icons stored in a program file, shown
// in a list; the selected one shows at the top left and is what OK delivers. Another file
// may be chosen by typing its name or with the browse button.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "core/IconPicture.h"
#include "forms/Form.h"
#include "forms/Handles.h"

class TBitmap;
class TButton;
class TFilenameEdit;
class TImage;
class TListView;

// An image list of icons, freed with its owner.
class TIconImageList {
public:
    TIconImageList(int width, int height);
    TIconImageList(const TIconImageList&) = delete;
    TIconImageList& operator=(const TIconImageList&) = delete;
    ~TIconImageList();
    HIMAGELIST Handle() const { return list_; }
    void Clear();
    // Its index, or -1 when the icon could not be added.
    int AddIcon(HICON icon);
    int Count() const;
    // A new icon made from entry index (null for a wrong index).
    HICON GetIcon(int index) const;

private:
    HIMAGELIST list_;
};

class TIconListForm : public TForm {
public:
    explicit TIconListForm(TForm* owner);
    ~TIconListForm() override;

    TListView* IconView;
    TIconImageList IconList{32, 32};
    TFilenameEdit* FilenameEdit1;
    TButton* BitBtn1; // Cancel
    TButton* BitBtn2; // OK
    TImage* SelectImage;
    // The program file to list, set before the dialog is shown.
    std::wstring FileName;

    void FormActivate(TObject* sender);
    void FilenameEdit1Change(TObject* sender);
    void IconViewSelectItem(TObject* sender, int item, bool selected);
    // Fills the list with the icons of a file; a name of no existing file changes nothing.
    void LoadIcons(const std::wstring& fileName);

    // Whether an icon was ever selected, and that icon as the capture delivers it.
    bool HasSelectedIcon() const { return static_cast<bool>(selectedIcon_); }
    HICON SelectedIcon() const { return selectedIcon_.Get(); }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TIconHandle selectedIcon_;
};

// The live icon dialog while an icon capture runs.
extern TIconListForm* IconListForm;

// An icon's colour image and mask as plain pixels; empty images when it cannot be read.
TIconImages ReadIconImages(HICON icon);
// The icon as a 32 x 32 picture with 24 bits per pixel, transparent pixels white.
void IconToBitmap(HICON icon, TBitmap& bitmap);
