// The main window's capture commands: the frame that every capture command shares, the
// captures that need no selection (primary screen, all screens, the last area again),
// the control, window and icon captures through the window picker, and the region,
// fixed-rectangle and timed-series captures through the region overlay.
#include <windows.h>

#include "capture/dlgCaptureRect.h"
#include "capture/dlgCaptureRepeat.h"
#include "capture/frmCapture.h"
#include "capture/frmCaptureRepeat.h"
#include "capture/frmFullVrim.h"
#include "capture/frmIconList.h"
#include "capture/unitCaptureLib.h"
#include "capture/unitProcessInfo.h"
#include "capture/unitWebCapture.h"
#include "core/LanguageText.h"
#include "core/ScreenGeometry.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/StdCtrls.h"
#include "shell/frmMain.h"
#include "shell/unitUtils.h"

namespace {
// Time the picked window gets to come to the front and repaint before it is copied.
constexpr DWORD kForegroundWaitMs = 300;

// Copies a window, whose device context and screen rectangle are given, as it shows on
// the screen. Some systems cannot read the child windows of another program through
// their own device context; the window, brought to the front, is then read from the
// screen at its place, which shows the same picture.
bool CopyWindowPicture(HDC windowDC, const RECT& area, TBitmap& bitmap) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (BitBlt(bitmap.Canvas(), 0, 0, width, height, windowDC, 0, 0, SRCCOPY))
        return true;
    const TWindowDC screen(nullptr, TWindowDC::WholeWindow);
    return screen.Get() &&
           BitBlt(bitmap.Canvas(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
}

} // namespace

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
        } catch (const ECaptureDeliveryError& e) {
            MessageDlg(e.Message(), TMsgDlgType::Error, mbOK);
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
    WaitCaptureDelay();
}

void TMainForm::WaitCaptureDelay() {
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
            LastCaptureRect =
                RECT{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
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

void TMainForm::acCaptureControlExecute(TObject*) {
    CapturePickedWindow(TCaptureMode::Control);
}

void TMainForm::acCaptureWindowExecute(TObject*) {
    CapturePickedWindow(TCaptureMode::Window);
}

void TMainForm::CapturePickedWindow(TCaptureMode mode) {
    RunCapture(mode, TCaptureErrors::PassOn, nullptr, [this] {
        auto picker = CreateForm<TCaptureForm>(static_cast<ICaptureHost&>(*this));
        CaptureForm = picker.get();
        struct TPickerGone {
            ~TPickerGone() { CaptureForm = nullptr; }
        } pickerGone;
        picker->ShowModal();
        // A cancelled pick ends here: no picture, no message, the last area untouched.
        if (picker->SelectedWindow && !CaptureTargetWindow(picker->SelectedWindow))
            MessageDlg(msgCaptureFail, TMsgDlgType::Error, mbOK);
    });
}

void TMainForm::acCaptureIconExecute(TObject*) {
    RunCapture(TCaptureMode::Icon, TCaptureErrors::PassOn, nullptr, [this] {
        auto picker = CreateForm<TCaptureForm>(static_cast<ICaptureHost&>(*this));
        CaptureForm = picker.get();
        struct TPickerGone {
            ~TPickerGone() { CaptureForm = nullptr; }
        } pickerGone;
        picker->ShowModal();
        // A cancelled pick ends here: no dialog, no message.
        if (picker->SelectedWindow && !CaptureWindowIcon(picker->SelectedWindow))
            MessageDlg(msgCaptureFail, TMsgDlgType::Error, mbOK);
    });
}

bool TMainForm::CaptureWindowIcon(HWND wnd) {
    // A process that cannot be opened, or whose file has gone, gives no name or no file.
    const std::wstring fileName = GetWindowProcessFileName(wnd);
    if (fileName.empty() || !FileExists(fileName))
        return false;
    auto dialog = CreateForm<TIconListForm>(this);
    IconListForm = dialog.get();
    struct TDialogGone {
        ~TDialogGone() { IconListForm = nullptr; }
    } dialogGone;
    dialog->FileName = fileName;
    if (dialog->ShowModal() == mrOk && dialog->HasSelectedIcon()) {
        TBitmap bitmap(0, 0, TPixelFormat::pf24bit);
        IconToBitmap(dialog->SelectedIcon(), bitmap);
        NewCapture(bitmap);
    }
    return true;
}

bool TMainForm::CaptureTargetWindow(HWND wnd) {
    const bool webPage =
        CaptureMode == TCaptureMode::Control && acCaptureAutoScroll->Checked() && IsWebDocumentView(wnd);
    // The area is recorded as the window lay when it was picked, before it is activated.
    RECT picked;
    if (!IsWindow(wnd) || !GetWindowRect(wnd, &picked))
        return false;
    const TPoint origin{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    LastCaptureRect = ToRECT(ScreenToDesktop(ToTRect(picked), origin));

    if (webPage) {
        TBitmap bitmap(0, 0, TPixelFormat::pf24bit);
        if (CaptureWebPage(bitmap, wnd, ReadInteger(SettingName::kScrollDelay)) != 0)
            return false;
        NewCapture(bitmap);
        return true;
    }

    ForceForegroundWindow(wnd);
    Sleep(kForegroundWaitMs);
    bool copied = false;
    {
        // A window that has gone, or shows no area, gives no picture: that is a failure,
        // never an empty picture delivered as a capture.
        TWindowDC dc(wnd, TWindowDC::WholeWindow);
        RECT now;
        if (dc.Get() && GetWindowRect(wnd, &now) && now.right - now.left > 0 && now.bottom - now.top > 0) {
            TBitmap bitmap(0, 0, TPixelFormat::pf24bit);
            bitmap.SetSize(now.right - now.left, now.bottom - now.top);
            if (CopyWindowPicture(dc.Get(), now, bitmap)) {
                NewCapture(bitmap);
                copied = true;
            }
        }
    }
    ForceForegroundWindow(Handle());
    return copied;
}

bool TMainForm::AutoScrollChecked() const {
    return acCaptureAutoScroll->Checked();
}

HCURSOR TMainForm::PickerCursor(bool scroll) const {
    return ScreenCursor(scroll ? crScroll : crCapture);
}

void TMainForm::StoreInteger(std::wstring_view name, std::int32_t value) {
    JvFormStorage1.SetStoredValue(name, value);
}

void TMainForm::SaveStore() {
    // The rectangle dialog's save comes inside a capture, which it must not stop.
    SaveSettingsAndGoOn();
}

int TMainForm::RunRegionOverlay(TFullVrimForm& overlay, const TSize* fixedSize) {
    FullVrimForm = &overlay;
    struct TOverlayGone {
        ~TOverlayGone() { FullVrimForm = nullptr; }
    } overlayGone;
    if (fixedSize)
        overlay.SelectionRect = {0, 0, fixedSize->Width, fixedSize->Height};
    else
        overlay.SetCursor(ScreenCursor(crSelect));
    return overlay.ShowModal();
}

void TMainForm::CutSelection(const TFullVrimForm& overlay) {
    LastCaptureRect = ToRECT(overlay.SelectionRect);
    TBitmap bitmap(0, 0, TPixelFormat::pf24bit);
    if (!CopyDesktopAreaToBitmap(overlay.Image1, overlay.SelectionRect, bitmap))
        throw Exception(msgCaptureFail);
    NewCapture(bitmap);
}

void TMainForm::acCaptureRegionExecute(TObject*) {
    RunCapture(TCaptureMode::Region, TCaptureErrors::PassOn, nullptr, [this] {
        auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(*this));
        // A cancelled selection ends here: nothing delivered, the last area untouched.
        if (RunRegionOverlay(*overlay, nullptr) == mrOk)
            CutSelection(*overlay);
    });
}

void TMainForm::acCaptureRectExecute(TObject*) {
    TSize size;
    RunCapture(
        TCaptureMode::Rect, TCaptureErrors::PassOn,
        [this, &size] {
            // The size is asked before the main window hides; a cancel ends the command
            // with the window never hidden.
            auto dialog = CreateForm<TCaptureRecDialog>(this, static_cast<ICaptureDialogHost&>(*this));
            CaptureRecDialog = dialog.get();
            struct TDialogGone {
                ~TDialogGone() { CaptureRecDialog = nullptr; }
            } dialogGone;
            if (dialog->ShowModal() != mrOk)
                return false;
            size = {dialog->SpinEdit1->Value(), dialog->SpinEdit2->Value()};
            return true;
        },
        [this, &size] {
            auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(*this));
            if (RunRegionOverlay(*overlay, &size) == mrOk)
                CutSelection(*overlay);
        });
}

void TMainForm::acCaptureContinuityExecute(TObject*) {
    // The first stage picks the region as the region capture does; the mode turns to the
    // series once the region is chosen.
    RunCapture(TCaptureMode::Region, TCaptureErrors::PassOn, nullptr, [this] {
        TRect area;
        {
            auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(*this));
            WaitCaptureDelay();
            const int result = RunRegionOverlay(*overlay, nullptr);
            area = overlay->SelectionRect;
            overlay.reset();
            acShow->Execute();
            if (result != mrOk)
                return;
        }
        CaptureMode = TCaptureMode::Continuity;
        int delay = 0;
        int count = 0;
        {
            auto dialog = CreateForm<TCaptureRepeatDialog>(this, static_cast<ICaptureDialogHost&>(*this));
            CaptureRepeatDialog = dialog.get();
            struct TDialogGone {
                ~TDialogGone() { CaptureRepeatDialog = nullptr; }
            } dialogGone;
            if (dialog->ShowModal() != mrOk)
                return;
            delay = dialog->SpinEdit1->Value();
            // A count confirmed with Enter is read as typed: 0 pages end the command.
            count = dialog->SpinEdit2->TypedValue();
        }
        // No page to take starts no series.
        if (!RepeatPageCount(count))
            return;
        LastCaptureRect = ToRECT(area);
        HideAndWait();
        auto strip = CreateForm<TCaptureRepeatForm>(this);
        CaptureRepeatForm = strip.get();
        struct TStripGone {
            ~TStripGone() { CaptureRepeatForm = nullptr; }
        } stripGone;
        strip->Setup(delay, count);
        strip->CaptureRect = area;
        strip->OnPage = [this](const TBitmap& page) { NewCapture(page); };
        strip->ShowModal();
        // Pages lost on the way are said once, at the end, with the first reason.
        if (strip->PagesFailed > 0) {
            const long long counts[] = {strip->PagesFailed, strip->PagesDone};
            MessageDlg(FormatNumbers(msgPagesNotCaptured, counts) + L"\n\n" + strip->FirstFailure,
                       TMsgDlgType::Error, mbOK);
        }
    });
}
