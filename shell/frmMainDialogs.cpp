// The main window's commands that run its own dialogs: the options and About.
#include <windows.h>

#include "capture/unitCaptureLib.h"
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
        ~TFinish() {
            Main->RegisterHotKeys();
            Dialog.reset();
            OptionForm = nullptr;
        }
    } finish{this, dialog};
    UnregisterHotKeys();
    if (dialog->ShowModal() != mrOk)
        return;
    if (dialog->cbIEButton->Checked())
        RegisterBrowserButton();
    else
        UnregisterBrowserButton();
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
