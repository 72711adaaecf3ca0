#include "forms/Timer.h"

#include <map>

#include "forms/Application.h"

namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
UINT_PTR NextTimerId() {
    static UINT_PTR next = 1;
    return next++;
}
} // namespace

TTimer::TTimer(TForm* owner, std::wstring name, UINT interval, bool enabled)
    : TComponent(owner, std::move(name)), interval_(interval), enabled_(enabled), id_(NextTimerId()) {
    Timers()[id_] = this;
    Restart();
}

TTimer::~TTimer() {
    if (Application)
        KillTimer(Application->UtilWindow(), id_);
    Timers().erase(id_);
}

void TTimer::SetInterval(UINT interval) {
    if (ChangeProperty(interval_, interval))
        Restart();
}

void TTimer::SetEnabled(bool enabled) {
    if (ChangeProperty(enabled_, enabled))
        Restart();
}

void TTimer::Restart() {
    if (!Application)
        return;
    KillTimer(Application->UtilWindow(), id_);
    if (enabled_ && interval_ > 0)
        SetTimer(Application->UtilWindow(), id_, interval_, nullptr);
}

void TTimer::Dispatch(UINT_PTR id) {
    const auto it = Timers().find(id);
    if (it == Timers().end()) {
        if (Application)
            KillTimer(Application->UtilWindow(), id);
        return;
    }
    TTimer* timer = it->second;
    if (timer->enabled_ && timer->OnTimer)
        timer->OnTimer(timer);
}
