#pragma once
// A bar area of bands, each band holding one control on a row of its own; the area takes
// the height of its visible bands.
#include <windows.h>

#include <vector>

#include "forms/Controls.h"

class TCoolBar : public TControl {
public:
    TCoolBar(TForm* owner, std::wstring name, TWindow* parent);
    // Puts a control (created with this bar as its parent) on a new band, at least
    // minHeight pixels high.
    void AddBand(TControl* child, int minHeight);
    int BandCount() const;
    // Shows or hides the band of a control together with the control.
    void ShowBand(TControl* child, bool show);
    // Takes the height of the visible bands and lets the parent lay out again.
    void AutoSize();

protected:
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<TControl*> bands_;
};
