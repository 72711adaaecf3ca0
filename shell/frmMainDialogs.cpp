// The main window's commands that run its own dialogs: the options and About.
#include <windows.h>

#include "capture/unitCaptureLib.h"
#include "forms/Actions.h"
#include "forms/Dialogs.h"
#include "forms/Label.h"
#include "forms/StdCtrls.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/frmOption.h"

void TMainForm::acToolOptionExecute(TObject*) {
    TFormPtr<TOptionForm> dialog = CreateForm<TOptionForm>(this);
    OptionForm = dialog.get();
    // However the run ends, even by an error of the browser button, the hotkeys come back
    // with the actions' present shortcuts and the dialog is gone.
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
        if (dialog->cbIEButton->Checked())
            RegisterBrowserButton();
        else
            UnregisterBrowserButton();
    }
    finish.Registered = true;
    const std::vector<TAction*> failed = RegisterHotKeys();
    // A hotkey just confirmed that another program holds would silently do nothing: the
    // user hears of it once, with every such command on its own line.
    std::wstring warning = dialog->lblHotKeyTaken->Caption();
    for (const TAction* action : failed)
        warning += L"\n" + action->Caption();
    dialog.reset();
    OptionForm = nullptr;
    if (confirmed && !failed.empty())
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
