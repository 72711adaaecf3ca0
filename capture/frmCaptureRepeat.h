#pragma once
// The progress strip of the timed series: a small topmost bar at the primary screen's
// top-left corner that takes one page of the chosen area every delay seconds, counts the
// pages, and closes after the last one or when its stop button is pressed.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "core/Geometry.h"
#include "core/RegionSelect.h"
#include "forms/Form.h"
#include "forms/PaintedControl.h"

class TBitmap;
class TLabel;
class TPanel;
class TProgressBar;
class TTimer;

// The flat stop button with its stop symbol.
class TStopButton : public TPaintedControl<TControl> {
public:
    TStopButton(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height);

protected:
    void Paint(HDC dc) override;
};

class TCaptureRepeatForm : public TForm {
public:
    explicit TCaptureRepeatForm(TForm* owner);

    TPanel* Panel1;
    TProgressBar* ProgressBar1;
    TLabel* Label1;
    TStopButton* SpeedButton1;
    TTimer* Timer1;

    int Ticks = 0;
    int PageCount = 0;
    int PagesDone = 0;
    // The area taken on every page, in virtual-desktop coordinates.
    TRect CaptureRect;
    // Delivers one page; set by the command before the strip shows.
    std::function<void(const TBitmap& page)> OnPage;
    // Pages that could not be taken or delivered (the series went on without them), and
    // why the first of them failed.
    int PagesFailed = 0;
    std::wstring FirstFailure;

    void FormCreate(TObject* sender);
    // Places the strip and sets the bar and the label for delay seconds per page and count
    // pages (both brought into their ranges).
    void Setup(int delaySeconds, int count);
    void FormActivate(TObject* sender);
    void Timer1Timer(TObject* sender);
    void SpeedButton1Click(TObject* sender);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void TakePage();
    void StopSeries();
    std::optional<TSeriesClock> clock_;
    bool stopped_ = false;
};

extern TCaptureRepeatForm* CaptureRepeatForm;
