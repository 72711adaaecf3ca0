#pragma once
// The bar area: a band container whose bands each hold one control behind a gripper. The
// user drags a band by its gripper along its row, onto another row or back; the area
// always takes the height of its rows, and its parent lays out again when that changes.
#include <windows.h>

#include <vector>

#include "forms/Controls.h"

class TCoolBar : public TControl {
public:
    TCoolBar(TForm* owner, std::wstring name, TWindow* parent);
    // Puts a control (created with this bar as its parent) on a new band that starts a row
    // of its own, at least minHeight pixels high and never narrower than minWidth; a tool
    // bar's band never gets narrower than its first button, so no drag can hide the bar.
    void AddBand(TControl* child, int minHeight, int minWidth = 0);
    int BandCount() const;
    int RowCount() const;
    // The band's current index (bands move), or -1; and the control of a band index.
    int BandIndexOf(const TControl* child) const;
    TControl* BandControl(int index) const;
    // The band's rectangle in this bar's client coordinates (gripper included).
    RECT BandRect(const TControl* child) const;
    // Shows or hides the band of a control together with the control.
    void ShowBand(TControl* child, bool show);
    // Takes the height of the visible rows and lets the parent lay out again.
    void AutoSize();

protected:
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Band ids are the positions in bands_, so a band is found however it was moved.
    std::vector<TControl*> bands_;
};
