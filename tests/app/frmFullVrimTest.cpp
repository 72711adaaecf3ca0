// The region overlay driven with mouse and key messages (drag, cancel, fixed rectangle,
// magnifier and its panel), the rectangle and series dialogs, the progress strip, and the
// region, rectangle and series commands of the main window delivering files.
#include "capture/frmFullVrim.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/CaptureDialogHost.h"
#include "capture/CaptureHost.h"
#include "capture/dlgCaptureRect.h"
#include "capture/dlgCaptureRepeat.h"
#include "capture/frmCaptureRepeat.h"
#include "core/Bitmap32.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/BitBtn.h"
#include "forms/ComboBox.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Fonts.h"
#include "forms/Handles.h"
#include "forms/ImageCodecs.h"
#include "forms/Label.h"
#include "forms/ProgressBar.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"
#include "tests/support/HelperProcess.h"
#include "tests/support/PickerChecks.h"

using picker_checks::AllPixelsAre;

namespace {

constexpr COLORREF kTargetColor = 0x3070D0; // what the coloured window shows
constexpr RECT kTargetRect{200, 150, 600, 450};

// Whether the pointer is at (x, y); puts it there when not. The system may apply the move
// a little later, and the overlay reads the pointer's place itself.
bool PointerAt(int x, int y) {
    POINT at{};
    if (GetCursorPos(&at) && at.x == x && at.y == y)
        return true;
    SetCursorPos(x, y);
    return false;
}

// Whether the screen shows the colour at a point.
bool ScreenShows(int x, int y, COLORREF color) {
    const HDC screen = GetDC(nullptr);
    const COLORREF shown = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return shown == color;
}

// A topmost window painted in one colour: the known screen content under the overlay.
class TColourWindow {
public:
    explicit TColourWindow(RECT bounds) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        static HBRUSH brush = CreateSolidBrush(kTargetColor);
        wc.hbrBackground = brush;
        wc.lpszClassName = L"TolvexRegionTarget";
        RegisterClassExW(&wc);
        wnd_ =
            CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                            bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(wnd_);
    }
    TColourWindow(const TColourWindow&) = delete;
    TColourWindow& operator=(const TColourWindow&) = delete;
    ~TColourWindow() { DestroyWindow(wnd_); }

private:
    HWND wnd_ = nullptr;
};

// A script of steps run by a thread timer inside whatever modal loop runs: each tick runs
// the current step, which returns true when it is done. A script that does not finish in
// time cancels every capture window, so a stuck capture fails instead of hanging.
class TScript {
public:
    using TStep = std::function<bool()>;
    explicit TScript(std::vector<TStep> steps, int timeoutMs = deadlines::kStateMs)
        : steps_(std::move(steps)),
          deadline_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {
        current_ = this;
        id_ = SetTimer(nullptr, 0, 20, Proc);
    }
    TScript(const TScript&) = delete;
    TScript& operator=(const TScript&) = delete;
    ~TScript() {
        KillTimer(nullptr, id_);
        current_ = nullptr;
    }
    bool Finished() const { return next_ == steps_.size(); }
    bool TimedOut() const { return timedOut_; }
    std::size_t StepsDone() const { return next_; }

private:
    static void CALLBACK Proc(HWND, UINT, UINT_PTR, DWORD) {
        TScript* s = current_;
        if (!s || s->busy_ || s->Finished())
            return;
        s->busy_ = true;
        if (std::chrono::steady_clock::now() > s->deadline_) {
            s->timedOut_ = true;
            s->next_ = s->steps_.size();
            CancelEverything();
        } else if (s->steps_[s->next_]()) {
            ++s->next_;
        }
        s->busy_ = false;
    }
    static void CancelEverything() {
        for (TForm* f : std::initializer_list<TForm*>{FullVrimForm, CaptureRecDialog, CaptureRepeatDialog,
                                                      CaptureRepeatForm})
            if (f)
                f->ModalResult = mrCancel;
    }
    static inline TScript* current_ = nullptr;
    std::vector<TStep> steps_;
    std::size_t next_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    UINT_PTR id_ = 0;
    bool busy_ = false;
    bool timedOut_ = false;
};

// Steps of the scripts.
TScript::TStep Send(UINT msg, int x, int y, WPARAM keys = 0) {
    return [=] {
        if (!FullVrimForm)
            return false;
        SendMessageW(FullVrimForm->Handle(), msg, keys, MAKELPARAM(x, y));
        return true;
    };
}
TScript::TStep Drag(int x0, int y0, int x1, int y1) {
    return [=] {
        if (!FullVrimForm)
            return false;
        const HWND wnd = FullVrimForm->Handle();
        SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x0, y0));
        SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
        SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x0 + x1) / 2, (y0 + y1) / 2));
        SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1, y1));
        // The overlay may be gone once the release is handled.
        SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
        return true;
    };
}
// The overlay is up, its picture taken and its mode started.
bool OverlayReady() {
    return FullVrimForm && FullVrimForm->Visible() && !FullVrimForm->Image1.Empty() &&
           !FullVrimForm->OnActivate;
}
TScript::TStep WhenOverlayReady() {
    return [] { return OverlayReady(); };
}
TScript::TStep Check(std::function<void()> check) {
    return [check = std::move(check)] {
        check();
        return true;
    };
}

COLORREF PixelOf(TBitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.ScanLine(y) + static_cast<std::size_t>(x) * 3;
    return RGB(p[2], p[1], p[0]);
}

class TTestHost : public ICaptureHost {
public:
    TCaptureMode Mode = TCaptureMode::Region;
    TCaptureMode CurrentCaptureMode() const override { return Mode; }
    bool AutoScrollChecked() const override { return false; }
    HCURSOR PickerCursor(bool) const override { return nullptr; }
};

class TTestDialogHost : public ICaptureDialogHost {
public:
    std::int32_t Width = 320;
    std::int32_t Height = 240;
    int Saves = 0;
    std::vector<std::wstring> Translated;
    void TranslateDialog(TForm& form) override { Translated.push_back(form.Name()); }
    std::int32_t StoredInteger(std::wstring_view name) const override {
        return name == SettingName::kCaptureRectWidth ? Width : Height;
    }
    void StoreInteger(std::wstring_view name, std::int32_t value) override {
        (name == SettingName::kCaptureRectWidth ? Width : Height) = value;
    }
    void SaveStore() override { ++Saves; }
};

class OverlayTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        // The pointer is in place and the coloured window on the screen before an overlay
        // takes its picture of the desktop.
        ASSERT_TRUE(PumpUntil([] { return PointerAt(640, 512) && ScreenShows(300, 250, kTargetColor); }));
    }
    // Runs an overlay modally while the script drives it.
    int RunOverlay(TFullVrimForm& overlay, std::vector<TScript::TStep> steps) {
        FullVrimForm = &overlay;
        TScript script(std::move(steps));
        const int result = overlay.ShowModal();
        FullVrimForm = nullptr;
        EXPECT_FALSE(script.TimedOut()) << "stuck after step " << script.StepsDone();
        return result;
    }
    TColourWindow target{kTargetRect};
    TTestHost host;
};

} // namespace

TEST_F(OverlayTest, ADragFromBottomRightToTopLeftSelectsTheNormalisedAreaOverAFrozenCleanPicture) {
    auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(host));
    COLORREF onBand = 0;
    const int result =
        RunOverlay(*overlay, {WhenOverlayReady(), Send(WM_MOUSEMOVE, 300, 250),
                              Send(WM_LBUTTONDOWN, 300, 250, MK_LBUTTON),
                              Send(WM_MOUSEMOVE, 250, 220, MK_LBUTTON), Check([&] {
                                  // The band is drawn into the picture in XOR.
                                  onBand = PixelOf(FullVrimForm->Image1, 250, 230);
                                  EXPECT_EQ(FullVrimForm->ZoomPanel->lblPos, L"Position : X=250 , Y=220");
                                  EXPECT_EQ(FullVrimForm->ZoomPanel->lblSize, L"Size : Width=50 , Height=30");
                              }),
                              Send(WM_LBUTTONUP, 240, 210)});
    EXPECT_EQ(result, mrOk);
    EXPECT_NE(onBand, kTargetColor);
    EXPECT_EQ(overlay->SelectionRect, (TRect{240, 210, 300, 250}));
    EXPECT_EQ(overlay->SelectionWidth, 60);
    EXPECT_EQ(overlay->SelectionHeight, 40);
    EXPECT_TRUE(overlay->Dragging);
    // The band is gone from the picture before the caller cuts it; the picture is the
    // desktop as it was, the coloured window included and the overlay not.
    EXPECT_EQ(PixelOf(overlay->Image1, 250, 230), kTargetColor);
    EXPECT_EQ(PixelOf(overlay->Image1, 240, 210), kTargetColor);
    EXPECT_EQ(overlay->Image1.Width(), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_TRUE(GetWindowLongW(overlay->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(OverlayTest, ADragThatAnotherWindowTakesTheMouseFromEndsWithItsBandAndTheNextPressStartsAgain) {
    const auto bandDrawn = Check([] { EXPECT_NE(PixelOf(FullVrimForm->Image1, 300, 270), kTargetColor); });
    const auto mouseTaken = Check([] {
        SetCapture(FullVrimForm->ZoomPanel->Handle());
        ReleaseCapture();
        EXPECT_FALSE(FullVrimForm->Dragging);
        EXPECT_EQ(PixelOf(FullVrimForm->Image1, 300, 270), kTargetColor);
    });
    // A move with no button held draws no band; the magnifier follows the pointer.
    const auto noBand = Check([] {
        EXPECT_EQ(PixelOf(FullVrimForm->Image1, 300, 320), kTargetColor);
        EXPECT_EQ(FullVrimForm->ZoomPanel->lblPos, L"Position : X=400 , Y=350");
    });
    auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(host));
    const int result = RunOverlay(*overlay, {WhenOverlayReady(), Send(WM_LBUTTONDOWN, 300, 250, MK_LBUTTON),
                                             Send(WM_MOUSEMOVE, 350, 300, MK_LBUTTON), bandDrawn, mouseTaken,
                                             Send(WM_MOUSEMOVE, 400, 350), noBand, Drag(220, 170, 280, 200)});
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(overlay->SelectionRect, (TRect{220, 170, 280, 200}));
}

TEST_F(OverlayTest, EscTheRightButtonAClickWithoutDragAndAReleaseWithoutPressCancel) {
    const std::vector<std::vector<TScript::TStep>> ways = {
        {WhenOverlayReady(),
         [] {
             if (FullVrimForm)
                 PostMessageW(FullVrimForm->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
             return true;
         }},
        {WhenOverlayReady(), Send(WM_LBUTTONDOWN, 300, 250, MK_LBUTTON),
         Send(WM_MOUSEMOVE, 350, 300, MK_LBUTTON), Send(WM_RBUTTONDOWN, 350, 300, MK_RBUTTON | MK_LBUTTON)},
        {WhenOverlayReady(), Send(WM_LBUTTONDOWN, 300, 250, MK_LBUTTON), Send(WM_LBUTTONUP, 300, 250)},
        {WhenOverlayReady(), Send(WM_LBUTTONDOWN, 300, 250, MK_LBUTTON), Send(WM_LBUTTONUP, 300, 290)},
        {WhenOverlayReady(), Send(WM_LBUTTONUP, 300, 250)},
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        SCOPED_TRACE(i);
        auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(host));
        EXPECT_EQ(RunOverlay(*overlay, ways[i]), mrCancel);
        // However it ended, the picture holds no band.
        EXPECT_EQ(PixelOf(overlay->Image1, 300, 250), kTargetColor);
        overlay.reset();
        // The desktop repaints where the overlay was.
        ASSERT_TRUE(PumpUntil([] { return ScreenShows(300, 250, kTargetColor); }));
    }
}

TEST_F(OverlayTest, TheFixedRectangleStaysCentredOnThePointerAlsoPastTheDesktopEdgeAndAnyReleaseAccepts) {
    host.Mode = TCaptureMode::Rect;
    ASSERT_TRUE(PumpUntil([] { return PointerAt(400, 300); }));
    auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(host));
    overlay->SelectionRect = {0, 0, 50, 30};
    TRect atStart, nearCorner;
    const int result = RunOverlay(
        *overlay, {WhenOverlayReady(), Check([&] { atStart = FullVrimForm->SelectionRect; }),
                   Send(WM_MOUSEMOVE, 10, 5), Check([&] { nearCorner = FullVrimForm->SelectionRect; }),
                   Send(WM_MOUSEMOVE, 300, 200), Send(WM_RBUTTONUP, 410, 310)});
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(atStart, (TRect{375, 285, 425, 315}));
    EXPECT_EQ(nearCorner, (TRect{-15, -10, 35, 20}));
    EXPECT_EQ(overlay->SelectionRect, (TRect{385, 295, 435, 325}));
    EXPECT_EQ(overlay->SelectionWidth, 50);
    EXPECT_EQ(overlay->SelectionHeight, 30);
    EXPECT_FALSE(overlay->ZoomPanel->Visible());
    EXPECT_EQ(PixelOf(overlay->Image1, 385, 295), kTargetColor);
    // A press does not start a drag in this mode.
    EXPECT_FALSE(overlay->Dragging);
}

TEST_F(OverlayTest, TheMagnifierShowsThePictureTwiceAsLargeBlackBeyondItsEdgeWithARedCross) {
    auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(host));
    COLORREF inside = 0, cross = 0, beyondEdge = 0, onPicture = 0;
    RunOverlay(*overlay, {WhenOverlayReady(), Send(WM_MOUSEMOVE, 400, 300), Check([&] {
                              TBitmap& view = FullVrimForm->ZoomPanel->imgZoom;
                              inside = PixelOf(view, 40, 40);
                              cross = PixelOf(view, 100, 95);
                          }),
                          Send(WM_MOUSEMOVE, 10, 20), Check([&] {
                              TBitmap& view = FullVrimForm->ZoomPanel->imgZoom;
                              beyondEdge = PixelOf(view, 30, 30); // source (-25, -15)
                              onPicture = PixelOf(view, 150, 150);
                              EXPECT_EQ(FullVrimForm->ZoomPanel->lblPos, L"Position : X=10 , Y=20");
                          }),
                          Send(WM_RBUTTONDOWN, 10, 20)});
    EXPECT_EQ(inside, kTargetColor);
    EXPECT_EQ(cross, static_cast<COLORREF>(0x0000FF));
    EXPECT_EQ(beyondEdge, static_cast<COLORREF>(0));
    EXPECT_NE(onPicture, kTargetColor); // the desktop at (35, 45) lies outside the window
    // The magnifier's picture is released when the overlay closes.
    EXPECT_TRUE(overlay->ZoomPanel->imgZoom.Empty());
}

TEST_F(OverlayTest, TheMagnifierPanelFleesToTheOppositeCornerWhenThePointerComesNearIt) {
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(host));
    RECT first{}, fled{}, back{};
    const auto panelAt = [](RECT& r) {
        return Check([&r] {
            GetWindowRect(FullVrimForm->ZoomPanel->Handle(), &r);
            MapWindowPoints(nullptr, FullVrimForm->Handle(), reinterpret_cast<POINT*>(&r), 2);
        });
    };
    const auto pointer = [](int x, int y) {
        return [=] {
            if (!PointerAt(x, y))
                return false;
            SendMessageW(FullVrimForm->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
            return true;
        };
    };
    RunOverlay(*overlay, {WhenOverlayReady(), panelAt(first), pointer(100, 100), panelAt(fled),
                          pointer(width - 100, height - 100), panelAt(back), Send(WM_RBUTTONDOWN, 1, 1)});
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.top, 0);
    EXPECT_EQ(first.right - first.left, 209);
    EXPECT_EQ(first.bottom - first.top, 247);
    EXPECT_EQ(fled.left, width - 209);
    EXPECT_EQ(fled.top, height - 247);
    EXPECT_EQ(back.left, 0);
    EXPECT_EQ(back.top, 0);
}

// ---- Dialogs and the strip ----

TEST_F(FormsTest, TheRectangleDialogOpensWithTheStoredSizeInRangeAndPresetsSetBothSides) {
    TTestDialogHost dialogHost;
    dialogHost.Width = 0;
    dialogHost.Height = 99999;
    auto dialog = CreateForm<TCaptureRecDialog>(nullptr, dialogHost);
    EXPECT_EQ(dialog->Caption(), L"Capture Rectangle");
    EXPECT_EQ(dialogHost.Translated, std::vector<std::wstring>{L"CaptureRecDialog"});
    EXPECT_EQ(dialog->SpinEdit1->Value(), 1);
    EXPECT_EQ(dialog->SpinEdit2->Value(), 5120);
    EXPECT_EQ(dialog->ComboBox1->ItemIndex(), 0);
    ASSERT_EQ(dialog->ComboBox1->ItemCount(), 10);
    EXPECT_EQ(dialog->ComboBox1->Items()[4], L"1024 x 768");
    dialog->ComboBox1->SetItemIndex(4);
    EXPECT_EQ(dialog->SpinEdit1->Value(), 1024);
    EXPECT_EQ(dialog->SpinEdit2->Value(), 768);
    dialog->ComboBox1->SetItemIndex(0); // "User Select" leaves them
    EXPECT_EQ(dialog->SpinEdit1->Value(), 1024);
    EXPECT_EQ(dialog->SpinEdit2->Value(), 768);
}

TEST_F(FormsTest, RectangleOkStoresAndSavesTheSizeAndAStoreThatCannotBeWrittenIsReportedButStillOk) {
    TTestDialogHost dialogHost;
    auto dialog = CreateForm<TCaptureRecDialog>(nullptr, dialogHost);
    dialog->SpinEdit1->SetValue(640);
    dialog->SpinEdit2->SetValue(48);
    dialog->BitBtn1->Click();
    EXPECT_EQ(dialog->ModalResult, mrOk);
    EXPECT_EQ(dialogHost.Width, 640);
    EXPECT_EQ(dialogHost.Height, 48);
    EXPECT_EQ(dialogHost.Saves, 1);
    EXPECT_TRUE(errors.empty());

    // Cancel stores nothing.
    auto cancelled = CreateForm<TCaptureRecDialog>(nullptr, dialogHost);
    cancelled->SpinEdit1->SetValue(7);
    cancelled->BitBtn2->Click();
    EXPECT_EQ(cancelled->ModalResult, mrCancel);
    EXPECT_EQ(dialogHost.Width, 640);

    // The main window's own store, whose file cannot be written (its folder is missing):
    // the failure is said once and the dialog still ends with the size.
    std::vector<std::wstring> said;
    MessageDlgHook = [&](const std::wstring& text, TMsgDlgType, TMsgDlgButtons) {
        said.push_back(text);
        return mrOk;
    };
    struct THookGone {
        ~THookGone() { MessageDlgHook = nullptr; }
    } hookGone;
    auto main = CreateForm<TMainForm>();
    main->OnActivate = nullptr;
    const std::wstring unwritable = TempFolder() + L"tolvex-no-such-folder\\settings.ini";
    main->JvAppIniFileStorage1.SetFileName(unwritable);
    main->JvFormStorage1.SetStorage(&main->JvAppIniFileStorage1);
    auto failing = CreateForm<TCaptureRecDialog>(main.get(), static_cast<ICaptureDialogHost&>(*main));
    failing->SpinEdit1->SetValue(333);
    failing->BitBtn1->Click();
    EXPECT_EQ(failing->ModalResult, mrOk);
    EXPECT_EQ(main->ReadInteger(SettingName::kCaptureRectWidth), 333);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(unwritable), std::wstring::npos) << testing::PrintToString(said[0]);
    EXPECT_TRUE(errors.empty());
}

TEST_F(FormsTest, TheSeriesDialogOpensWithThreeSecondsAndFivePagesInTheirRanges) {
    TTestDialogHost dialogHost;
    auto dialog = CreateForm<TCaptureRepeatDialog>(nullptr, dialogHost);
    EXPECT_EQ(dialog->Caption(), L"Capture Continuity");
    EXPECT_EQ(dialogHost.Translated, std::vector<std::wstring>{L"CaptureRepeatDialog"});
    EXPECT_EQ(dialog->SpinEdit1->Value(), 3);
    EXPECT_EQ(dialog->SpinEdit2->Value(), 5);
    // Typed values outside the ranges read as the nearest allowed one.
    SetWindowTextW(dialog->SpinEdit1->Handle(), L"0");
    SetWindowTextW(dialog->SpinEdit2->Handle(), L"-4");
    EXPECT_EQ(dialog->SpinEdit1->Value(), 1);
    EXPECT_EQ(dialog->SpinEdit2->Value(), 1);
    SetWindowTextW(dialog->SpinEdit2->Handle(), L"99");
    EXPECT_EQ(dialog->SpinEdit2->Value(), 30);
}

TEST_F(FormsTest, TheStripTakesOnePagePerDelayCountsThemAndClosesAfterTheLast) {
    auto strip = CreateForm<TCaptureRepeatForm>(nullptr);
    strip->Setup(1, 2);
    EXPECT_EQ(strip->Label1->Caption(), L"0 / 2 Page");
    EXPECT_EQ(strip->ProgressBar1->Max(), 10);
    strip->CaptureRect = {kTargetRect.left + 10, kTargetRect.top + 10, kTargetRect.left + 40,
                          kTargetRect.top + 30};
    TColourWindow target(kTargetRect);
    ASSERT_TRUE(PumpUntil([] { return ScreenShows(300, 250, kTargetColor); }));
    std::vector<TBitmap32> pages;
    std::vector<std::chrono::steady_clock::time_point> times;
    strip->OnPage = [&](const TBitmap& page) {
        TBitmap32 copy;
        AssignToBitmap32(page, copy);
        pages.push_back(std::move(copy));
        times.push_back(std::chrono::steady_clock::now());
    };
    const auto start = std::chrono::steady_clock::now();
    TScript guard({[] { return false; }});
    const int result = strip->ShowModal();
    EXPECT_FALSE(guard.TimedOut());
    EXPECT_EQ(result, mrCancel);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(strip->PagesDone, 2);
    EXPECT_EQ(strip->Label1->Caption(), L"2 / 2 Page");
    EXPECT_EQ(strip->PagesFailed, 0);
    for (const TBitmap32& page : pages) {
        EXPECT_EQ(page.Width(), 30);
        EXPECT_EQ(page.Height(), 20);
        EXPECT_TRUE(AllPixelsAre(page, {0, 0, 30, 20}, kTargetColor));
    }
    // Ten ticks of 100 ms between pages: never sooner than the delay.
    EXPECT_GE(times[0] - start, std::chrono::milliseconds(900));
    EXPECT_GE(times[1] - times[0], std::chrono::milliseconds(900));
    EXPECT_TRUE(GetWindowLongW(strip->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FormsTest, TheStopButtonEndsTheSeriesAndAPageThatCannotBeDeliveredIsSkipped) {
    {
        auto strip = CreateForm<TCaptureRepeatForm>(nullptr);
        strip->Setup(1, 5);
        strip->CaptureRect = {0, 0, 10, 10};
        int pages = 0;
        strip->OnPage = [&](const TBitmap&) {
            ++pages;
            if (pages == 2)
                PostMessageW(strip->SpeedButton1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            if (pages == 2)
                PostMessageW(strip->SpeedButton1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        };
        TScript guard({[] { return false; }});
        strip->ShowModal();
        EXPECT_FALSE(guard.TimedOut());
        EXPECT_EQ(pages, 2);
        EXPECT_EQ(strip->PagesFailed, 0);
    }
    {
        auto strip = CreateForm<TCaptureRepeatForm>(nullptr);
        strip->Setup(1, 3);
        strip->CaptureRect = {0, 0, 10, 10};
        int attempts = 0;
        strip->OnPage = [&](const TBitmap&) {
            ++attempts;
            if (attempts == 1)
                throw Exception(L"disk full");
            if (attempts == 3)
                throw Exception(L"clipboard held");
        };
        TScript guard({[] { return false; }});
        strip->ShowModal();
        EXPECT_FALSE(guard.TimedOut());
        EXPECT_EQ(attempts, 3) << "the series goes on after a lost page";
        EXPECT_EQ(strip->PagesDone, 3);
        EXPECT_EQ(strip->PagesFailed, 2);
        EXPECT_EQ(strip->FirstFailure, L"disk full");
        EXPECT_TRUE(errors.empty()); // the command says it, once
    }
}

TEST_F(FormsTest, APageWhoseDeliveryWaitsInAMessageLoopIsNeverOverlappedByTheNext) {
    auto strip = CreateForm<TCaptureRepeatForm>(nullptr);
    strip->Setup(1, 2);
    strip->CaptureRect = {0, 0, 10, 10};
    int depth = 0, deepest = 0, pages = 0;
    strip->OnPage = [&](const TBitmap&) {
        ++pages;
        deepest = std::max(deepest, ++depth);
        Pump(1500); // as a message box would: the timer keeps firing meanwhile
        --depth;
    };
    TScript guard({[] { return false; }});
    strip->ShowModal();
    EXPECT_FALSE(guard.TimedOut());
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(deepest, 1);
}

// ---- The commands of the main window ----

namespace {
class RegionCommandTest : public OverlayTest {
protected:
    void SetUp() override {
        OverlayTest::SetUp();
        folder = helper_process::ReportPath(L"tolvex-region");
        folder.resize(folder.size() - 4);
        folder += L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        ClearFolder();
        form = CreateForm<TMainForm>();
        form->OnActivate = nullptr; // no start-up work of the real program
        // The settings go to a scratch INI file, never to the prefix's registry.
        iniFile = folder + L"settings.ini";
        form->JvAppIniFileStorage1.SetFileName(iniFile);
        form->JvFormStorage1.SetStorage(&form->JvAppIniFileStorage1);
        auto& store = form->JvFormStorage1;
        store.SetStoredValue(SettingName::kIsBeforeHide, false);
        store.SetStoredValue(SettingName::kIsAfterVisible, false);
        store.SetStoredValue(SettingName::kIsSound, false);
        store.SetStoredValue(SettingName::kCaptureDelay, std::int32_t{0});
        store.SetStoredValue(SettingName::kOutputType, std::int32_t{2});
        store.SetStoredValue(SettingName::kSaveImageType, std::int32_t{0});
        store.SetStoredValue(SettingName::kOutputFolder, folder);
        form->CaptureSleep = [this](DWORD ms) { sleeps.push_back(ms); };
        MessageDlgHook = [this](const std::wstring& text, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(text);
            return mrOk;
        };
    }
    void TearDown() override {
        MessageDlgHook = nullptr;
        form.reset();
        DeleteFileW(iniFile.c_str());
        ClearFolder();
        RemoveDirectoryW(folder.c_str());
        OverlayTest::TearDown();
    }
    void ClearFolder() {
        for (const std::wstring& f : picker_checks::FilesIn(folder))
            DeleteFileW((folder + f).c_str());
    }
    std::vector<std::wstring> Pictures() const {
        std::vector<std::wstring> bmps;
        for (const std::wstring& f : picker_checks::FilesIn(folder))
            if (f.ends_with(L".bmp"))
                bmps.push_back(f);
        return bmps;
    }
    TBitmap32 Picture(const std::wstring& name) const {
        TBitmap32 image;
        std::wstring error;
        EXPECT_TRUE(LoadImageFile(folder + name, image, error)) << testing::PrintToString(error);
        return image;
    }
    // Runs a command while the script drives its windows.
    void Run(TAction* command, std::vector<TScript::TStep> steps, int timeoutMs = deadlines::kStateMs) {
        TScript script(std::move(steps), timeoutMs);
        command->Execute();
        EXPECT_FALSE(script.TimedOut()) << "stuck after step " << script.StepsDone();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(form->CaptureMode, TCaptureMode::Idle);
        EXPECT_EQ(FullVrimForm, nullptr);
    }
    // The mode the main window is in when the step runs.
    TScript::TStep ModeIs(TCaptureMode mode) {
        return Check([this, mode] { EXPECT_EQ(form->CaptureMode, mode); });
    }

    std::wstring folder;
    std::wstring iniFile;
    TFormPtr<TMainForm> form;
    std::vector<std::wstring> messages;
    std::vector<DWORD> sleeps;
};
} // namespace

TEST_F(RegionCommandTest, ARegionCaptureDeliversTheDraggedAreaAndRecordsIt) {
    Run(form->acCaptureRegion, {WhenOverlayReady(), ModeIs(TCaptureMode::Region), Drag(250, 200, 290, 225)});
    const auto files = Pictures();
    ASSERT_EQ(files.size(), 1u);
    const TBitmap32 image = Picture(files[0]);
    EXPECT_EQ(image.Width(), 40);
    EXPECT_EQ(image.Height(), 25);
    EXPECT_TRUE(AllPixelsAre(image, {0, 0, 40, 25}, kTargetColor));
    EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, RECT{250, 200, 290, 225}));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(sleeps, std::vector<DWORD>{0});
}

TEST_F(RegionCommandTest, ACancelledRegionDeliversNothingAndKeepsTheLastArea) {
    form->LastCaptureRect = RECT{1, 2, 3, 4};
    Run(form->acCaptureRegion,
        {WhenOverlayReady(), Send(WM_LBUTTONDOWN, 250, 200, MK_LBUTTON), Send(WM_LBUTTONUP, 250, 200)});
    EXPECT_TRUE(Pictures().empty());
    EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, RECT{1, 2, 3, 4}));
}

TEST_F(RegionCommandTest, ARectCaptureAsksTheSizeStoresItAndPlacesARectangleOfThatSize) {
    ASSERT_TRUE(PumpUntil([] { return PointerAt(400, 300); }));
    Run(form->acCaptureRect,
        {[] { return CaptureRecDialog && CaptureRecDialog->Visible(); }, ModeIs(TCaptureMode::Rect),
         [] {
             CaptureRecDialog->SpinEdit1->SetValue(64);
             CaptureRecDialog->SpinEdit2->SetValue(48);
             CaptureRecDialog->BitBtn1->Click();
             return true;
         },
         [] { return OverlayReady() && FullVrimForm->SelectionWidth == 64; }, Send(WM_MOUSEMOVE, 330, 260),
         Send(WM_LBUTTONUP, 330, 260)});
    const auto files = Pictures();
    ASSERT_EQ(files.size(), 1u);
    const TBitmap32 image = Picture(files[0]);
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.Height(), 48);
    EXPECT_TRUE(AllPixelsAre(image, {0, 0, 64, 48}, kTargetColor));
    EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, RECT{298, 236, 362, 284}));
    EXPECT_EQ(form->ReadInteger(SettingName::kCaptureRectWidth), 64);
    EXPECT_EQ(form->ReadInteger(SettingName::kCaptureRectHeight), 48);
    // The size was saved at once.
    TAppIniFileStorage reread;
    reread.SetFileName(iniFile);
    EXPECT_EQ(reread.ReadInteger(L"Tolvex", L"CaptureRectWidth"), 64);
}

TEST_F(RegionCommandTest, ACancelledRectDialogEndsTheCommandWithoutHidingOrWaiting) {
    form->JvFormStorage1.SetStoredValue(SettingName::kIsBeforeHide, true);
    form->Show();
    Run(form->acCaptureRect, {[] { return CaptureRecDialog && CaptureRecDialog->Visible(); },
                              [] {
                                  CaptureRecDialog->BitBtn2->Click();
                                  return true;
                              }});
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(sleeps.empty());
    EXPECT_TRUE(Pictures().empty());
    EXPECT_EQ(CaptureRecDialog, nullptr);
}

TEST_F(RegionCommandTest, ASeriesTakesTheChosenAreaOncePerDelayForEachPage) {
    Run(form->acCaptureContinuity,
        {WhenOverlayReady(), ModeIs(TCaptureMode::Region), Drag(300, 300, 330, 320),
         [] { return CaptureRepeatDialog && CaptureRepeatDialog->Visible(); },
         ModeIs(TCaptureMode::Continuity),
         [] {
             CaptureRepeatDialog->SpinEdit1->SetValue(1);
             CaptureRepeatDialog->SpinEdit2->SetValue(2);
             CaptureRepeatDialog->btnOK->Click();
             return true;
         },
         [] { return CaptureRepeatForm && CaptureRepeatForm->Visible(); }, Check([this] {
             EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, RECT{300, 300, 330, 320}));
         })},
        deadlines::kStateMs);
    const auto files = Pictures();
    ASSERT_EQ(files.size(), 2u);
    for (const std::wstring& f : files) {
        const TBitmap32 image = Picture(f);
        EXPECT_EQ(image.Width(), 30);
        EXPECT_EQ(image.Height(), 20);
        EXPECT_TRUE(AllPixelsAre(image, {0, 0, 30, 20}, kTargetColor));
    }
    // The delay before the region, once more before the overlay shows, and before the series.
    EXPECT_EQ(sleeps.size(), 3u);
    EXPECT_EQ(CaptureRepeatForm, nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(RegionCommandTest, ASeriesSkipsAPageThatCannotBeSavedAndSaysHowManyAreMissingAtTheEnd) {
    // The first name cannot be looked up: the first page is lost, the others are saved.
    int lookups = 0;
    form->AutoSaveNameLookup = [&](const std::wstring& name) -> DWORD {
        if (++lookups == 1)
            return ERROR_ACCESS_DENIED;
        return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES ? ERROR_SUCCESS : GetLastError();
    };
    Run(form->acCaptureContinuity,
        {WhenOverlayReady(), Drag(300, 300, 330, 320),
         [] { return CaptureRepeatDialog && CaptureRepeatDialog->Visible(); },
         [] {
             CaptureRepeatDialog->SpinEdit1->SetValue(1);
             CaptureRepeatDialog->SpinEdit2->SetValue(3);
             CaptureRepeatDialog->btnOK->Click();
             return true;
         }},
        20000);
    EXPECT_EQ(Pictures().size(), 2u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].substr(0, messages[0].find(L'\n')), L"1 of 3 pages could not be captured.");
    EXPECT_NE(messages[0].find(L"Capture_1.bmp"), std::wstring::npos) << "with the first reason";
}

TEST_F(RegionCommandTest, ASeriesIntoAFolderThatCannotBeMadeShowsNoBoxPerPageAndCountsEveryPageLost) {
    // The output folder would lie below a file: it can be neither found nor created.
    const std::wstring blocker = folder + L"not-a-folder";
    WriteFileAtomic(blocker, std::vector<std::uint8_t>{1});
    ASSERT_TRUE(FileExists(blocker));
    const std::wstring output = blocker + L"\\shots";
    form->JvFormStorage1.SetStoredValue(SettingName::kOutputFolder, output);
    Run(form->acCaptureContinuity,
        {WhenOverlayReady(), Drag(300, 300, 330, 320),
         [] { return CaptureRepeatDialog && CaptureRepeatDialog->Visible(); },
         [] {
             CaptureRepeatDialog->SpinEdit1->SetValue(1);
             CaptureRepeatDialog->SpinEdit2->SetValue(2);
             CaptureRepeatDialog->btnOK->Click();
             return true;
         }},
        20000);
    EXPECT_TRUE(Pictures().empty());
    // One message at the end, with the folder's message as the reason; none per page.
    ASSERT_EQ(messages.size(), 1u) << testing::PrintToString(messages);
    EXPECT_EQ(messages[0], L"2 of 2 pages could not be captured.\n\n'" + output + L"' folder not found!");

    // A single capture into the same folder still warns at once.
    messages.clear();
    Run(form->acCaptureRegion, {WhenOverlayReady(), Drag(250, 200, 290, 225)});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"'" + output + L"' folder not found!");
}

TEST_F(RegionCommandTest, ACancelledSeriesDialogOrRegionTakesNoPageAndShowsTheMainWindowAgain) {
    form->JvFormStorage1.SetStoredValue(SettingName::kIsBeforeHide, true);
    form->JvFormStorage1.SetStoredValue(SettingName::kIsAfterVisible, true);
    form->LastCaptureRect = RECT{1, 2, 3, 4};
    form->Show();
    Run(form->acCaptureContinuity,
        {WhenOverlayReady(), Check([this] { EXPECT_FALSE(form->Visible()); }), Send(WM_RBUTTONDOWN, 5, 5)});
    EXPECT_TRUE(form->Visible());
    Run(form->acCaptureContinuity, {WhenOverlayReady(), Drag(300, 300, 330, 320),
                                    [] { return CaptureRepeatDialog && CaptureRepeatDialog->Visible(); },
                                    [] {
                                        CaptureRepeatDialog->btnCancel->Click();
                                        return true;
                                    }});
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(Pictures().empty());
    EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, RECT{1, 2, 3, 4}));
}

TEST_F(RegionCommandTest, APageCountOfNoneConfirmedWithEnterEndsTheSeriesCommand) {
    form->LastCaptureRect = RECT{1, 2, 3, 4};
    // How the dialog ended and the count the command read, taken as it goes: a cancel would
    // end the command just as quietly.
    int closedWith = mrNone;
    int typedCount = -1;
    Run(form->acCaptureContinuity, {WhenOverlayReady(), Drag(300, 300, 330, 320),
                                    [] { return CaptureRepeatDialog && CaptureRepeatDialog->Visible(); },
                                    [&] {
                                        TCaptureRepeatDialog* dialog = CaptureRepeatDialog;
                                        dialog->OnDestroy = [&, dialog](TObject*) {
                                            closedWith = dialog->ModalResult;
                                            typedCount = dialog->SpinEdit2->TypedValue();
                                        };
                                        // Typed and confirmed with Enter, never leaving the box.
                                        const HWND count = dialog->SpinEdit2->Handle();
                                        SetFocus(count);
                                        SetWindowTextW(count, L"0");
                                        PostMessageW(count, WM_KEYDOWN, VK_RETURN, 0);
                                        return true;
                                    }});
    EXPECT_EQ(closedWith, mrOk);
    EXPECT_EQ(typedCount, 0);
    EXPECT_EQ(CaptureRepeatForm, nullptr);
    EXPECT_TRUE(Pictures().empty());
    EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, RECT{1, 2, 3, 4}));
}

TEST_F(RegionCommandTest, AFixedRectanglePastTheDesktopEdgeIsTakenAtItsFullSize) {
    SetCursorPos(400, 300);
    Run(form->acCaptureRect, {[] { return CaptureRecDialog && CaptureRecDialog->Visible(); },
                              [] {
                                  CaptureRecDialog->SpinEdit1->SetValue(64);
                                  CaptureRecDialog->SpinEdit2->SetValue(48);
                                  CaptureRecDialog->BitBtn1->Click();
                                  return true;
                              },
                              [] { return OverlayReady() && FullVrimForm->SelectionWidth == 64; },
                              Send(WM_MOUSEMOVE, 10, 4), Send(WM_LBUTTONUP, 10, 4)});
    // Centred on the pointer, the rectangle reaches 22 pixels left of and 20 above the desktop.
    EXPECT_TRUE(picker_checks::SameRect(form->LastCaptureRect, RECT{-22, -20, 42, 28}));
    const auto files = Pictures();
    ASSERT_EQ(files.size(), 1u);
    const TBitmap32 image = Picture(files[0]);
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.Height(), 48);
    // The part outside the desktop holds no screen content.
    EXPECT_TRUE(AllPixelsAre(image, {0, 0, 22, 48}, 0));
    EXPECT_TRUE(AllPixelsAre(image, {0, 0, 64, 20}, 0));
}

TEST_F(FormsTest, TheOverlayLabelsAskForTheirFaceInTheHangulSetWithoutLosingTheFace) {
    TTestHost host;
    auto overlay = CreateForm<TFullVrimForm>(static_cast<ICaptureHost&>(host));
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(overlay->FontHandle(), sizeof(lf), &lf));
    EXPECT_STREQ(lf.lfFaceName, L"\uAD74\uB9BC");
    EXPECT_EQ(lf.lfHeight, -12);
    // The labels show the face the design's name alone gives; the Hangul set is kept
    // exactly when it gives that face too.
    LOGFONTW plain = lf;
    plain.lfCharSet = DEFAULT_CHARSET;
    const TGdiObject plainFont(CreateFontIndirectW(&plain));
    LOGFONTW hangul = lf;
    hangul.lfCharSet = HANGUL_CHARSET;
    const TGdiObject hangulFont(CreateFontIndirectW(&hangul));
    const std::wstring face = RealizedFaceName(static_cast<HFONT>(plainFont.Get()));
    EXPECT_EQ(RealizedFaceName(overlay->FontHandle()), face);
    const bool sameFace = RealizedFaceName(static_cast<HFONT>(hangulFont.Get())) == face;
    EXPECT_EQ(lf.lfCharSet, sameFace ? HANGUL_CHARSET : DEFAULT_CHARSET);
}
