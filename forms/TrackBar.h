#pragma once
// A horizontal track bar: a thumb on a scale from a minimum to a maximum with tick marks.
// Setting the range or the position from code raises OnChange whenever the position really
// changes, and so do the mouse and the keys.
#include <windows.h>

#include "forms/Controls.h"

class TTrackBar : public TControl {
public:
    TTrackBar(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
              int height = 33);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    // A minimum above the maximum moves the maximum up with it, and the reverse; the
    // position is kept inside the range.
    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);
    // A tick mark every frequency steps.
    void SetFrequency(int frequency);

    TNotifyEvent OnChange;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Reads the thumb's place and raises OnChange when it moved.
    void SyncPosition();
    void ApplyRange();
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
};
