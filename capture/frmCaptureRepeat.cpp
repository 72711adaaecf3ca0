#include "capture/frmCaptureRepeat.h"

#include <windows.h>

#include "capture/unitCaptureLib.h"
#include "forms/Exceptions.h"
#include "forms/Graphics.h"
#include "forms/Handles.h"
#include "forms/Label.h"
#include "forms/ProgressBar.h"
#include "forms/Timer.h"

TCaptureRepeatForm* CaptureRepeatForm = nullptr;

namespace {
// Posted when the strip shows, so that the series starts even without an activation.
constexpr UINT kStartSeriesMessage = WM_APP + 0x22;
constexpr COLORREF kStopColor = 0x0000C0;

TFormDesign StripDesign() {
    TFormDesign d;
    d.Border = TBorderStyle::None;
    d.Left = 0;
    d.Top = 0;
    d.Width = 200;
    d.Height = 28;
    return d;
}
} // namespace

TStopButton::TStopButton(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
                         int height)
    : TPaintedControl(owner, std::move(name), parent) {
    CreateOwnWindow(L"TolvexStopButton", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), left, top, width, height,
                    nullptr, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

void TStopButton::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    // A filled square in the middle: the stop symbol.
    const int side = std::min(client.right, client.bottom) / 2;
    const int left = (client.right - side) / 2;
    const int top = (client.bottom - side) / 2;
    const RECT square{left, top, left + side, top + side};
    const TGdiObject brush(CreateSolidBrush(kStopColor));
    FillRect(dc, &square, static_cast<HBRUSH>(brush.Get()));
}

TCaptureRepeatForm::TCaptureRepeatForm(TForm* owner) : TForm(owner, L"CaptureRepeatForm", StripDesign()) {
    Panel1 = Make<TPanel>(L"Panel1", this);
    Panel1->SetBounds(0, 0, 200, 28);
    ProgressBar1 = Make<TProgressBar>(L"ProgressBar1", Panel1, 27, 5, 100, 16);
    Label1 = Make<TLabel>(L"Label1", Panel1, L"0 / 0 Page");
    Label1->SetAutoSize(false);
    Label1->SetBounds(131, 8, 64, 13);
    SpeedButton1 = Make<TStopButton>(L"SpeedButton1", Panel1, 3, 2, 22, 21);
    Timer1 = Make<TTimer>(L"Timer1", 100, false);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnShow = [this](TObject*) { PostMessageW(Handle(), kStartSeriesMessage, 0, 0); };
}

void TCaptureRepeatForm::FormCreate(TObject*) {
    Ticks = 0;
    PagesDone = 0;
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCaptureRepeatForm::Setup(int delaySeconds, int count) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A delay or count typed past the fields' ranges is brought into them here, so the
    // clock never divides by nothing and a series always ends.
    clock_.emplace(delaySeconds, count);
    ProgressBar1->SetRange(0, clock_->TicksPerPage());
    PageCount = clock_->PageCount();
    Label1->SetCaption(PageLabelText(0, PageCount));
}

void TCaptureRepeatForm::FormActivate(TObject*) {
    if (!stopped_)
        Timer1->SetEnabled(true);
}

void TCaptureRepeatForm::Timer1Timer(TObject*) {
    if (!clock_) {
        StopSeries();
        return;
    }
    const TSeriesClock::TTick tick = clock_->Tick();
    Ticks = clock_->Ticks();
    ProgressBar1->SetPosition(tick.Position);
    if (tick.TakePage) {
        PagesDone = clock_->PagesDone();
        Label1->SetCaption(PageLabelText(PagesDone, PageCount));
        // The delivery may run a message loop of its own (a message box); no tick may
        // start another page meanwhile.
        Timer1->SetEnabled(false);
        try {
            TakePage();
        } catch (...) {
            // A page that cannot be taken or delivered (a full disk, a clipboard held by
            // another program) is skipped; the series goes on, and the command says at the
            // end how many pages are missing.
            if (PagesFailed++ == 0)
                FirstFailure = ExceptionMessage(std::current_exception());
        }
    }
    if (tick.Finished || stopped_) {
        StopSeries();
        return;
    }
    Timer1->SetEnabled(true);
}

void TCaptureRepeatForm::TakePage() {
    TBitmap desktop(0, 0, TPixelFormat::pfDevice);
    CaptureScreenToBitmap(desktop, true);
    TBitmap page(0, 0, TPixelFormat::pfDevice);
    if (!CopyDesktopAreaToBitmap(desktop, CaptureRect, page))
        throw Exception(L"The area of the series lies outside every picture");
    if (OnPage)
        OnPage(page);
}

void TCaptureRepeatForm::SpeedButton1Click(TObject*) {
    StopSeries();
}

void TCaptureRepeatForm::StopSeries() {
    stopped_ = true;
    Timer1->SetEnabled(false);
    Close();
}

LRESULT TCaptureRepeatForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kStartSeriesMessage) {
        FormActivate(this);
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}
