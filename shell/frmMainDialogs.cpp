// The main window's commands that run its own dialogs: the options and About.
#include <windows.h>

#include "capture/unitCaptureLib.h"
#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/Dialogs.h"
#include "forms/StdCtrls.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/frmOption.h"

void TMainForm::acToolOptionExecute(TObject*) {
    TFormPtr<TOptionForm> dialog = CreateForm<TOptionForm>(this);
    OptionForm = dialog.get();
    // However the run ends, the hotkeys come back with the actions' present shortcuts and
    // the dialog is gone.
    struct TFinish {
        TMainForm* Main;
        TFormPtr<TOptionForm>& Dialog;
        bool Registered = false;
        ~TFinish() {
            if (!Registered)
                Main->RegisterHotKeys();
            Dialog.reset();
            OptionForm = nullptr;
        }
    } finish{this, dialog};
    UnregisterHotKeys();
    const bool confirmed = dialog->ShowModal() == mrOk;
    if (confirmed) {
        // A browser button that cannot be installed or removed is reported in the error box;
        // the rest of the OK (hotkeys and their warning) goes on as usual.
        Guarded([&] {
            if (dialog->cbIEButton->Checked())
                RegisterBrowserButton();
            else
                UnregisterBrowserButton();
        });
    }
    finish.Registered = true;
    const std::vector<TAction*> failed = RegisterHotKeys();
    // A shortcut just confirmed that does nothing, or clashes with another command, is said
    // once, after the dialog has gone.
    const std::wstring warning = confirmed ? dialog->HotKeyWarning(failed) : std::wstring();
    dialog.reset();
    OptionForm = nullptr;
    if (!warning.empty())
        MessageDlg(warning, TMsgDlgType::Warning, mbOK);
}

void TMainForm::acAboutExecute(TObject*) {
    TFormPtr<TAboutForm> dialog = CreateForm<TAboutForm>(this);
    AboutForm = dialog.get();
    struct TFinish {
        TFormPtr<TAboutForm>& Dialog;
        ~TFinish() {
            Dialog.reset();
            AboutForm = nullptr;
        }
    } finish{dialog};
    dialog->ShowModal();
}
