#pragma once
// Timers: an interval in milliseconds and an event, on the application's utility window.
#include <windows.h>

#include "forms/Component.h"

class TTimer : public TComponent {
public:
    TTimer(TForm* owner, std::wstring name, UINT interval = 1000, bool enabled = true);
    ~TTimer() override;

    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TNotifyEvent OnTimer;

    // Called by the utility window for WM_TIMER.
    static void Dispatch(UINT_PTR id);

private:
    void Restart();
    UINT interval_;
    bool enabled_;
    UINT_PTR id_;
};
