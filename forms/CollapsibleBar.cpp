#include "forms/CollapsibleBar.h"

#include <windows.h>

#include "forms/Form.h"

TCollapsibleBar::TCollapsibleBar(TForm* owner, std::wstring name, TWindow* parent,
                                 const std::wstring& caption, int expandedHeight)
    : TPaintedControl(owner, std::move(name), parent), caption_(caption), expandedHeight_(expandedHeight) {
    SetHeight(expandedHeight);
    LOGFONTW font{};
    if (GetObjectW(owner->FontHandle(), sizeof(font), &font) != 0) {
        font.lfWeight = FW_BOLD;
        boldFont_.Reset(CreateFontIndirectW(&font));
    }
}

void TCollapsibleBar::SetCaption(const std::wstring& caption) {
    if (ChangeProperty(caption_, caption))
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TCollapsibleBar::SetCollapsed(bool collapsed) {
    if (!ChangeProperty(collapsed_, collapsed))
        return;
    // The controls below the header stay in place; the folded bar just clips them away.
    SetHeight(collapsed ? kHeaderHeight : expandedHeight_);
    InvalidateRect(Handle(), nullptr, TRUE);
    if (OnCollapsedChange)
        OnCollapsedChange(this);
}

void TCollapsibleBar::MouseDown(TMouseButton button, int, int y) {
    if (button == TMouseButton::Left && y < kHeaderHeight)
        SetCollapsed(!collapsed_);
}

void TCollapsibleBar::Paint(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    RECT header{0, 0, r.right, kHeaderHeight};
    const TGdiObject face(CreateSolidBrush(RGB(0xD6, 0xDF, 0xF7)));
    FillRect(dc, &header, static_cast<HBRUSH>(face.Get()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x21, 0x5D, 0xC6));
    const HGDIOBJ old = SelectObject(dc, boldFont_ ? boldFont_.Get() : Owner()->FontHandle());
    RECT text{8, 0, r.right - 24, kHeaderHeight};
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    // The fold mark: a chevron that points up while the bar is open.
    const wchar_t* mark = collapsed_ ? L"\u00BB" : L"\u00AB";
    RECT markRect{r.right - 22, 0, r.right - 6, kHeaderHeight};
    DrawTextW(dc, mark, 1, &markRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
}
