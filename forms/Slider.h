#pragma once
// A horizontal slider with tick points: an integer value between a minimum and a maximum
// in steps of Increment. Setting the value from code clamps it into the range and raises
// OnChange when it really changes; the mouse and the arrow keys move it in steps.
#include <windows.h>

#include "forms/PaintedControl.h"

class TSlider : public TPaintedControl<TControl> {
public:
    TSlider(TForm* owner, std::wstring name, TWindow* parent);

    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    int Increment() const { return increment_; }
    // Sets range and step (a step below 1 counts as 1) and clamps the value without an event.
    void SetRange(int minValue, int maxValue, int increment);
    int Value() const { return value_; }
    void SetValue(int value);

    TNotifyEvent OnChange;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;
    void MouseDown(TMouseButton button, int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseUp(TMouseButton button, int x, int y) override;
    void MouseCaptureLost() override;

private:
    // The value of a point on the track, on the nearest step.
    int ValueAt(int x) const;
    int Clamp(int value) const;
    int min_ = 0;
    int max_ = 100;
    int increment_ = 1;
    int value_ = 0;
    bool dragging_ = false;
};
