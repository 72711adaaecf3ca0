// The main window's capture commands: the frame that every capture command shares and
// the captures that need no selection (primary screen, all screens, the last area again).
#include <windows.h>

#include "capture/unitCaptureLib.h"
#include "core/ScreenGeometry.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/Graphics.h"
#include "shell/frmMain.h"

void TMainForm::RunCapture(TCaptureMode mode, TCaptureErrors errors, const std::function<bool()>& prepare,
                           const std::function<void()>& work) {
    // A request while another capture runs (a hotkey dispatched by a selection window's
    // loop) is dropped.
    if (CaptureMode != TCaptureMode::Idle)
        return;
    CaptureMode = mode;
    struct TIdleAgain {
        TMainForm* Form;
        ~TIdleAgain() { Form->CaptureMode = TCaptureMode::Idle; }
    } idleAgain{this};

    if (prepare && !prepare())
        return;
    HideAndWait();
    if (errors == TCaptureErrors::ReportFailure) {
        try {
            work();
        } catch (const EAbort&) {
        } catch (...) {
            MessageDlg(msgCaptureFail, TMsgDlgType::Error, mbOK);
        }
    } else {
        work();
    }
    acShow->Execute();
}

void TMainForm::HideAndWait() {
    if (ReadBool(SettingName::kIsBeforeHide))
        acHide->Execute();
    // A stored delay outside 0..65535 must never freeze the program.
    const auto delay = static_cast<DWORD>(ClampDelay(ReadInteger(SettingName::kCaptureDelay)));
    if (CaptureSleep)
        CaptureSleep(delay);
    else if (delay > 0)
        Sleep(delay);
}

void TMainForm::acCaptureScreenExecute(TObject*) {
    RunCapture(
        TCaptureMode::Screen, TCaptureErrors::ReportFailure,
        [this] {
            LastCaptureRect = ToRECT(PrimaryScreenInDesktop(SystemMonitors()));
            return true;
        },
        [this] {
            TBitmap bitmap(0, 0, TPixelFormat::pf24bit);
            CaptureScreenToBitmap(bitmap, false);
            NewCapture(bitmap);
        });
}

void TMainForm::acCaptureDualScreenExecute(TObject*) {
    RunCapture(
        TCaptureMode::DualScreen, TCaptureErrors::ReportFailure,
        [this] {
            LastCaptureRect = RECT{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
            return true;
        },
        [this] {
            TBitmap bitmap(0, 0, TPixelFormat::pf24bit);
            CaptureScreenToBitmap(bitmap, true);
            NewCapture(bitmap);
        });
}

void TMainForm::acCaptureRecaptureExecute(TObject*) {
    RunCapture(TCaptureMode::Recapture, TCaptureErrors::ReportFailure, nullptr, [this] {
        TBitmap desktop(0, 0, TPixelFormat::pf24bit);
        CaptureScreenToBitmap(desktop, true);
        TBitmap result(0, 0, TPixelFormat::pf24bit);
        if (!CopyDesktopAreaToBitmap(desktop, ToTRect(LastCaptureRect), result))
            throw Exception(msgCaptureFail);
        NewCapture(result);
    });
}

void TMainForm::acCaptureRecaptureUpdate(TObject*) {
    acCaptureRecapture->SetEnabled(LastCaptureRect.right - LastCaptureRect.left > 0 &&
                                   LastCaptureRect.bottom - LastCaptureRect.top > 0);
}

void TMainForm::acCaptureAutoScrollExecute(TObject*) {
    acCaptureAutoScroll->SetChecked(!acCaptureAutoScroll->Checked());
}
