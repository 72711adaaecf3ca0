#pragma once
// A progress bar: a position in [Min, Max] shown as a filled part of the bar.
#include <windows.h>

#include "forms/Controls.h"

class TProgressBar : public TControl {
public:
    TProgressBar(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height);

    int Min() const { return min_; }
    int Max() const { return max_; }
    // A range whose maximum lies below its minimum is refused (the bar keeps its range).
    void SetRange(int minValue, int maxValue);
    void SetMax(int maxValue) { SetRange(min_, maxValue); }
    int Position() const;
    // Brought into the range.
    void SetPosition(int position);

private:
    int min_ = 0;
    int max_ = 100;
};
