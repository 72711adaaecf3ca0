#include "capture/frmCapture.h"

#include <windows.h>

#include <windowsx.h>

#include "capture/CaptureHost.h"
#include "capture/frmTarget.h"
#include "core/WindowClimb.h"
#include "forms/Application.h"
#include "forms/Strings.h"
#include "forms/Timer.h"

TCaptureForm* CaptureForm = nullptr;

namespace {
// Posted to the picker when it shows, so that its start-up runs even when the system
// gives it no activation.
constexpr UINT kStartPickMessage = WM_APP + 0x20;
constexpr TColor kClWhite = 0xFFFFFF;
constexpr TColor kClBlack = 0x000000;
// The picker's designed client size; the arrow region cuts it down.
constexpr int kPickerWidth = 115;
constexpr int kPickerHeight = 38;

TWindowHandle HandleValue(HWND wnd) {
    return reinterpret_cast<TWindowHandle>(wnd);
}
HWND WindowOf(TWindowHandle value) {
    return reinterpret_cast<HWND>(value);
}

// The climb's view of the real windows.
class TSystemWindowTree : public IWindowTree {
public:
    TWindowHandle ParentOf(TWindowHandle window) const override {
        return HandleValue(GetAncestor(WindowOf(window), GA_PARENT));
    }
    TWindowHandle OwnerOf(TWindowHandle window) const override {
        return HandleValue(GetWindow(WindowOf(window), GW_OWNER));
    }
    std::uint32_t StyleOf(TWindowHandle window) const override {
        return static_cast<std::uint32_t>(GetWindowLongW(WindowOf(window), GWL_STYLE));
    }
    std::optional<TRect> WindowRectOf(TWindowHandle window) const override {
        RECT r;
        if (!GetWindowRect(WindowOf(window), &r))
            return std::nullopt;
        return TRect{r.left, r.top, r.right, r.bottom};
    }
};

TPoint CursorPoint() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void MoveTo(HWND wnd, TPoint origin) {
    SetWindowPos(wnd, nullptr, origin.X, origin.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

bool IsWebDocumentView(HWND wnd) {
    wchar_t name[256];
    const int length = GetClassNameW(wnd, name, 256);
    return length > 0 &&
           SameText(std::wstring_view(name, static_cast<std::size_t>(length)), L"internet explorer_server");
}

TCaptureForm::TCaptureForm(ICaptureHost& host)
    : TSolidForm(L"CaptureForm", kPickerWidth, kPickerHeight, kClBlack), host_(host) {
    Timer1 = Make<TTimer>(L"Timer1", 1, false);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnShow = [this](TObject*) { PostMessageW(Handle(), kStartPickMessage, 0, 0); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TCaptureForm::~TCaptureForm() {
    // A picker that never closed leaves its frame behind; it goes with the picker.
    if (TargetForm) {
        TTargetForm* frame = TargetForm;
        TargetForm = nullptr;
        TFormDeleter{}(frame);
    }
}

void TCaptureForm::FormCreate(TObject*) {
    SetPickerCursor(false);
    SetPolygonRegion(kPickerArrow);
    MakeTopmostToolWindow();
}

void TCaptureForm::FormActivate(TObject*) {
    // The picker takes the foreground on every tick, and so is activated again and again;
    // its start-up runs once.
    OnActivate = nullptr;
    LastWindow = nullptr;
    SelectedWindow = nullptr;
    MoveTo(Handle(), PickerOrigin(CursorPoint()));
    try {
        if (!TargetForm) {
            TargetForm = CreateForm<TTargetForm>().release();
            TargetForm->SetColor(FrameColor(host_.CurrentCaptureMode()));
            TargetForm->ShowNoActivate();
        }
    } catch (...) {
        // A picker without its frame cannot show what it would pick.
        CancelPick();
        throw;
    }
    Timer1->SetEnabled(true);
}

void TCaptureForm::Timer1Timer(TObject*) {
    try {
        Tick();
    } catch (...) {
        // One error box, not one per millisecond: the pick ends with the failure.
        CancelPick();
        throw;
    }
}

void TCaptureForm::Tick() {
    // Holding the foreground gives the picker the keyboard, for Esc.
    SetForegroundWindow(Handle());
    const TPoint cursor = CursorPoint();
    // The cursor lies inside the arrow, so mouse presses land on the picker.
    MoveTo(Handle(), PickerOrigin(cursor));
    const TPoint probe = PickerProbe(cursor);
    const HWND under = WindowFromPoint(POINT{probe.X, probe.Y});
    const TPickerWindows own{HandleValue(Handle()), TargetForm ? HandleValue(TargetForm->Handle()) : 0};
    const TPickStep step = PickAtPoint(TSystemWindowTree{}, HandleValue(under), probe,
                                       host_.CurrentCaptureMode(), HandleValue(LastWindow), own);
    SelectedWindow = WindowOf(step.Selected);
    // The frame moves only when the window under the point changes, so it never flickers.
    if (!step.Reframe || !TargetForm)
        return;
    TargetForm->FrameWindow(step.FrameBounds, Handle());
    SetPickerCursor(host_.AutoScrollChecked() && IsWebDocumentView(SelectedWindow));
    LastWindow = SelectedWindow;
}

void TCaptureForm::FormClick(TObject*) {
    Timer1->SetEnabled(false);
    if (TargetForm) {
        TargetForm->SetColor(kClWhite);
        TargetForm->Hide();
    }
    SetColor(kClWhite);
    Hide();
    // The windows below repaint where the arrow and the ring were, before anyone copies them.
    Application->ProcessMessages();
    Sleep(100);
    Close();
}

void TCaptureForm::FormMouseDown(TObject*, TMouseButton button, int, int) {
    if (button != TMouseButton::Left)
        CancelPick();
}

void TCaptureForm::FormKeyDown(TObject*, WORD& key) {
    if (key == VK_ESCAPE)
        CancelPick();
}

void TCaptureForm::CancelPick() {
    Timer1->SetEnabled(false);
    SelectedWindow = nullptr;
    Close();
}

void TCaptureForm::FormClose(TObject*, TCloseAction&) {
    if (TargetForm)
        TargetForm->Close();
}

void TCaptureForm::SetPickerCursor(bool scroll) {
    HCURSOR cursor = host_.PickerCursor(scroll);
    cursor_ = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    // The pointer is always over the arrow: the new cursor shows at once.
    if (Visible())
        SetCursor(cursor_);
}

LRESULT TCaptureForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kStartPickMessage:
        DoActivate();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(cursor_);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The release may come after the arrow moved on; it comes here all the same.
        SetCapture(Handle());
        leftDown_ = true;
        return 0;
    case WM_LBUTTONUP:
        if (leftDown_) {
            leftDown_ = false;
            ReleaseCapture();
            FormClick(this);
        }
        return 0;
    case WM_CAPTURECHANGED:
        leftDown_ = false;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        FormMouseDown(this, TMouseButton::Right, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        FormMouseDown(this, TMouseButton::Middle, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        FormKeyDown(this, key);
        return 0;
    }
    default:
        break;
    }
    return TSolidForm::WndProc(msg, wParam, lParam);
}
