#include "forms/Controls.h"

#include <windows.h>

#include "forms/Form.h"

TControl::TControl(TForm* owner, std::wstring name, TWindow* parent)
    : TWindow(owner, std::move(name)), parent_(parent) {}

std::wstring TControl::Caption() const {
    return WindowText();
}

void TControl::SetCaption(const std::wstring& caption) {
    if (Handle())
        SetWindowTextW(Handle(), caption.c_str());
}

void TControl::SetHint(const std::wstring& hint) {
    hint_ = hint;
    if (Owner())
        Owner()->UpdateControlHint(this);
}

bool TControl::Visible() const {
    return Handle() && (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE);
}

void TControl::SetVisible(bool visible) {
    if (Visible() == visible)
        return;
    ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
    if (align_ != TAlign::None)
        RealignParent();
}

bool TControl::Enabled() const {
    return Handle() && IsWindowEnabled(Handle());
}

void TControl::SetEnabled(bool enabled) {
    if (Handle())
        EnableWindow(Handle(), enabled);
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    RealignParent();
}

RECT TControl::BoundsRect() const {
    RECT r{};
    if (!Handle())
        return r;
    GetWindowRect(Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    const RECT r = BoundsRect();
    if (r.left == left && r.top == top && r.right - r.left == width && r.bottom - r.top == height)
        return;
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (align_ != TAlign::None)
        RealignParent();
}

int TControl::Width() const {
    const RECT r = BoundsRect();
    return r.right - r.left;
}

int TControl::Height() const {
    const RECT r = BoundsRect();
    return r.bottom - r.top;
}

void TControl::SetWidth(int width) {
    const RECT r = BoundsRect();
    SetBounds(r.left, r.top, width, r.bottom - r.top);
}

void TControl::SetHeight(int height) {
    const RECT r = BoundsRect();
    SetBounds(r.left, r.top, r.right - r.left, height);
}

void TControl::RealignParent() {
    if (auto* panel = dynamic_cast<TPanel*>(parent_))
        panel->Realign();
    else if (auto* form = dynamic_cast<TForm*>(parent_))
        form->Realign();
}

RECT AlignChildControls(TForm* owner, const TWindow* parent, RECT client) {
    if (!owner)
        return client;
    const auto place = [](TControl* c, const RECT& r) {
        const RECT b = c->BoundsRect();
        if (b.left != r.left || b.top != r.top || b.right != r.right || b.bottom != r.bottom)
            SetWindowPos(c->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // Edges first in creation order, the client control last.
    for (const TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
        for (TComponent* comp : owner->Components()) {
            auto* c = dynamic_cast<TControl*>(comp);
            if (!c || c->Parent() != parent || c->Align() != pass || !c->Visible())
                continue;
            // A control may take another height (or width) as it is placed: the bar area
            // wraps its bands into more or fewer rows at a new width. What follows is placed
            // from the size it took, and a control at the bottom or right edge is placed
            // once more against its edge.
            switch (pass) {
            case TAlign::Top:
                place(c, {client.left, client.top, client.right, client.top + c->Height()});
                client.top += c->Height();
                break;
            case TAlign::Bottom:
                place(c, {client.left, client.bottom - c->Height(), client.right, client.bottom});
                place(c, {client.left, client.bottom - c->Height(), client.right, client.bottom});
                client.bottom -= c->Height();
                break;
            case TAlign::Left:
                place(c, {client.left, client.top, client.left + c->Width(), client.bottom});
                client.left += c->Width();
                break;
            case TAlign::Right:
                place(c, {client.right - c->Width(), client.top, client.right, client.bottom});
                place(c, {client.right - c->Width(), client.top, client.right, client.bottom});
                client.right -= c->Width();
                break;
            default:
                place(c, client);
                break;
            }
            if (client.bottom < client.top)
                client.bottom = client.top;
            if (client.right < client.left)
                client.right = client.left;
        }
    }
    return client;
}

TPanel::TPanel(TForm* owner, std::wstring name, TWindow* parent, bool autoHeight)
    : TControl(owner, std::move(name), parent), autoHeight_(autoHeight) {
    CreateOwnWindow(L"TolvexPanel", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    WS_EX_CONTROLPARENT, parent->Handle(), 0, 0, 100, 40, nullptr, CS_DBLCLKS,
                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(owner->FontHandle()), FALSE);
}

TPanel::~TPanel() {
    if (background_)
        DeleteObject(background_);
}

void TPanel::SetColor(COLORREF color) {
    if (background_)
        DeleteObject(background_);
    background_ = CreateSolidBrush(color);
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TPanel::Realign() {
    if (autoHeight_) {
        int height = 0;
        for (TComponent* comp : Owner()->Components()) {
            auto* c = dynamic_cast<TControl*>(comp);
            if (c && c->Parent() == this && c->Align() == TAlign::Top && c->Visible())
                height += c->Height();
        }
        if (height != Height()) {
            const RECT r = BoundsRect();
            SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RealignParent();
        }
    }
    RECT client;
    GetClientRect(Handle(), &client);
    AlignChildControls(Owner(), this, client);
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND && background_) {
        RECT client;
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
        return 1;
    }
    if (msg == WM_SIZE) {
        RECT client;
        GetClientRect(Handle(), &client);
        AlignChildControls(Owner(), this, client);
        return 0;
    }
    return TControl::WndProc(msg, wParam, lParam);
}
