#pragma once
// The options dialog: capture settings, output destination, sound and browser-button
// switches, and the eleven capture and window shortcuts. It exists only while it is shown;
// the hotkey dispatch drops every hotkey while it does. It writes the settings store and
// the main window's actions only when closed with OK.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/ShortCut.h"
#include "forms/Form.h"

class TAction;
class TBrowseForFolder;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class THotKey;
class TLabel;
class TMainForm;
class TPanel;
class TRadioButton;
class TShape;
class TControl;
class TSpinEdit;

class TOptionForm : public TForm {
public:
    explicit TOptionForm(TMainForm* owner);
    ~TOptionForm() override;

    TPanel *Panel1, *Panel2, *Panel01, *Panel02;
    TButton *btnDefault, *btnOK, *btnCancel, *Button1;
    TRadioButton *btnDefaultTab, *btnShortcutTab;
    TGroupBox *gbCapture1, *gbOutput, *gbCapture2, *gbWindow;
    TCheckBox *cbHideBeforeCapture, *cbShowAfterCapture, *cbAutoScroll, *cbSound, *cbIEButton;
    TSpinEdit *seScrollDelay, *seCaptureDelay;
    TComboBox *cbImageType, *cbJPEGQulity;
    TRadioButton *rbOutputEdit, *rbOutputClipboard, *rbOutputFolder;
    TEdit* edtCaptureFolder;
    THotKey *hkControl, *hkWindow, *hkSelect, *hkRect, *hkScreen, *hkDualScreen, *hkRepeat, *hkIcon,
        *hkRecapture, *hkVisible, *hkDisable;
    TShape* Shape1;
    // Never shown: their captions are the translatable heads of the hotkey warning, over
    // the commands whose hotkey another program holds and over the commands of this
    // program that were set to one shortcut.
    TLabel* lblHotKeyTaken;
    TLabel* lblHotKeyClash;
    TBrowseForFolder* BrowseForFolder1;

    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void FormDestroy(TObject* sender);
    void btnOKClick(TObject* sender);
    void btnDefaultClick(TObject* sender);
    void btnDefaultTabClick(TObject* sender);
    void btnShortcutTabClick(TObject* sender);
    void cbImageTypeChange(TObject* sender);
    void Button1Click(TObject* sender);
    // The picture a button shows (none without the program's artwork).
    HIMAGELIST Glyph(const TControl* button) const;
    // After OK and the new registration of the hotkeys (failed: the commands whose hotkey
    // could not be registered), the warning about the shortcuts changed in this dialog:
    // those another program holds, and those that clash with another of our commands.
    // Empty when there is nothing to say.
    std::wstring HotKeyWarning(const std::vector<TAction*>& failed) const;

private:
    // A hot-key field and the action whose shortcut it edits.
    struct TShortCutField {
        THotKey* Field;
        TAction* Action;
        bool Global; // also a global hotkey of the main window
    };
    std::array<TShortCutField, 11> ShortCutFields() const;
    void ShowDefaultPage();
    void SetGlyphs();

    TMainForm* main_;
    // The shortcuts of the eleven commands as the dialog found them.
    std::array<TShortCut, 11> openingShortCuts_{};
    // The application's hint pause from before the first activation.
    std::optional<int> savedHintHidePause_;
    std::map<const TControl*, HIMAGELIST> glyphs_;
};

extern TOptionForm* OptionForm;
