#include "forms/CoolBar.h"

#include <commctrl.h>

#include <algorithm>

TCoolBar::TCoolBar(TForm* owner, std::wstring name, TWindow* parent)
    : TControl(owner, std::move(name), parent) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    // The bar's height is set here from its bands, its width by the parent's layout.
    CreateStandardWindow(REBARCLASSNAMEW,
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                             RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                         0, parent->Handle(), 0, 0, 100, 0);
}

void TCoolBar::AddBand(TControl* child, int minHeight) {
    REBARBANDINFOW band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
    band.fStyle = RBBS_BREAK | RBBS_CHILDEDGE;
    band.hwndChild = child->Handle();
    band.cyMinChild = static_cast<UINT>(std::max(minHeight, child->Height()));
    band.cxMinChild = 0;
    band.cx = 10000;
    band.wID = static_cast<UINT>(bands_.size());
    SendMessageW(Handle(), RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    bands_.push_back(child);
    AutoSize();
}

int TCoolBar::BandCount() const {
    return static_cast<int>(SendMessageW(Handle(), RB_GETBANDCOUNT, 0, 0));
}

void TCoolBar::ShowBand(TControl* child, bool show) {
    const int index = static_cast<int>(SendMessageW(
        Handle(), RB_IDTOINDEX,
        static_cast<WPARAM>(std::find(bands_.begin(), bands_.end(), child) - bands_.begin()), 0));
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
    if (header->code != RBN_HEIGHTCHANGE)
        return false;
    AutoSize();
    return true;
}

LRESULT TCoolBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = TControl::WndProc(msg, wParam, lParam);
    // A new width may wrap or unwrap bands, and so change the height.
    if (msg == WM_SIZE)
        AutoSize();
    return result;
}
