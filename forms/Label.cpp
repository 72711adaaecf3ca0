#include "forms/Label.h"

#include <windows.h>

#include "forms/Form.h"
#include "forms/Handles.h"

namespace {
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS;
constexpr UINT kSizingFormat = DT_LEFT | DT_EXPANDTABS | DT_CALCRECT;
} // namespace

TLabel::TLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption)
    : TPaintedControl(owner, std::move(name), parent),
      fontColor_(static_cast<TColor>(GetSysColor(COLOR_WINDOWTEXT))) {
    CreateOwnWindow(L"TolvexLabel", WS_CHILD | WS_VISIBLE, 0, parent->Handle(), 0, 0, 0, 0, nullptr,
                    CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (owner)
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(owner->FontHandle()), FALSE);
    SetCaption(caption);
}

void TLabel::SetFontColor(TColor color) {
    fontColor_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!autoSize_ || !Handle())
        return;
    const std::wstring text = Caption();
    TWindowDC dc(Handle());
    if (!dc)
        return;
    TSelectObject select(dc.Get(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, 0, 0};
    // An empty text still keeps the height of one line, as a label of no text does.
    DrawTextW(dc.Get(), text.empty() ? L" " : text.c_str(), -1, &r, kSizingFormat);
    SetWindowPos(Handle(), nullptr, 0, 0, text.empty() ? 0 : r.right, r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    const std::wstring text = Caption();
    TSelectObject select(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(fontColor_));
    DrawTextW(dc, text.c_str(), -1, &client, kTextFormat);
}

LRESULT TLabel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        AdjustSize();
        if (LOWORD(lParam))
            InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
        const LRESULT result = TPaintedControl::WndProc(msg, wParam, lParam);
        AdjustSize();
        InvalidateRect(Handle(), nullptr, TRUE);
        return result;
    }
    default:
        return TPaintedControl::WndProc(msg, wParam, lParam);
    }
}
