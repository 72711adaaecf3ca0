#include "forms/CoolBar.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "forms/ComCtrls.h"

TCoolBar::TCoolBar(TForm* owner, std::wstring name, TWindow* parent)
    : TControl(owner, std::move(name), parent) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // The bar's height is set here from its rows, its width by the parent's layout.
    CreateStandardWindow(REBARCLASSNAMEW,
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                             RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                         0, parent->Handle(), 0, 0, 100, 0);
}

void TCoolBar::AddBand(TControl* child, int minHeight, int minWidth) {
    REBARBANDINFOW band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
    // Every band starts a row and shows its gripper, also when it is alone on the bar.
    band.fStyle = RBBS_BREAK | RBBS_GRIPPERALWAYS;
    band.hwndChild = child->Handle();
    band.cyMinChild = static_cast<UINT>(std::max(minHeight, child->Height()));
    int natural = 10000; // a control without a natural width takes what its row leaves
    if (auto* bar = dynamic_cast<TToolBar*>(child); bar && bar->ButtonCount() > 0) {
        RECT first{};
        SendMessageW(bar->Handle(), TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        minWidth = std::max(minWidth, static_cast<int>(first.right));
        SIZE all{};
        if (SendMessageW(bar->Handle(), TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&all)) && all.cx > 0)
            natural = all.cx;
    }
    band.cxMinChild = static_cast<UINT>(std::max(minWidth, 0));
    band.cx = static_cast<UINT>(natural);
    band.cxIdeal = static_cast<UINT>(natural);
    band.wID = static_cast<UINT>(bands_.size());
    SendMessageW(Handle(), RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    bands_.push_back(child);
    AutoSize();
}

int TCoolBar::BandCount() const {
    return static_cast<int>(SendMessageW(Handle(), RB_GETBANDCOUNT, 0, 0));
}

int TCoolBar::RowCount() const {
    return static_cast<int>(SendMessageW(Handle(), RB_GETROWCOUNT, 0, 0));
}

int TCoolBar::BandIndexOf(const TControl* child) const {
    const auto it = std::find(bands_.begin(), bands_.end(), child);
    if (it == bands_.end())
        return -1;
    return static_cast<int>(
        SendMessageW(Handle(), RB_IDTOINDEX, static_cast<WPARAM>(it - bands_.begin()), 0));
}

TControl* TCoolBar::BandControl(int index) const {
    REBARBANDINFOW band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_ID;
    if (!SendMessageW(Handle(), RB_GETBANDINFOW, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&band)) ||
        band.wID >= bands_.size())
        return nullptr;
    return bands_[band.wID];
}

RECT TCoolBar::BandRect(const TControl* child) const {
    RECT r{};
    if (const int index = BandIndexOf(child); index >= 0)
        SendMessageW(Handle(), RB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCoolBar::ShowBand(TControl* child, bool show) {
    const int index = BandIndexOf(child);
    if (index < 0)
        return;
    SendMessageW(Handle(), RB_SHOWBAND, static_cast<WPARAM>(index), show);
    // The band hides its control; the control's own state follows in case it does not.
    child->SetVisible(show);
    AutoSize();
}

void TCoolBar::AutoSize() {
    const int height = static_cast<int>(SendMessageW(Handle(), RB_GETBARHEIGHT, 0, 0));
    if (height == Height())
        return;
    const RECT r = BoundsRect();
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RealignParent();
}

bool TCoolBar::HandleNotify(NMHDR* header, LRESULT&) {
    // A drag that ends may have made or removed a row.
    if (header->code != RBN_HEIGHTCHANGE && header->code != RBN_ENDDRAG)
        return false;
    AutoSize();
    return true;
}

LRESULT TCoolBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = TControl::WndProc(msg, wParam, lParam);
    // A new width may wrap or unwrap bands, and a band moved by a message may leave or
    // make a row without the drag notifications.
    if (msg == WM_SIZE || msg == RB_MOVEBAND || msg == RB_SETBANDINFOW || msg == RB_MAXIMIZEBAND ||
        msg == RB_MINIMIZEBAND || msg == WM_LBUTTONUP)
        AutoSize();
    return result;
}
