#include "forms/ComCtrls.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "forms/Actions.h"
#include "forms/Form.h"
#include "forms/Menus.h"

namespace {
// Our own tool-bar command ids; far from menu command ids, which are unique anyway.
int NextButtonCommand() {
    static int next = 40000;
    return next++;
}
} // namespace

HIMAGELIST LoadImageStrip(const wchar_t* resourceName, int size) {
    TGdiObject strip(
        LoadImageW(GetModuleHandleW(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip)
        return nullptr;
    BITMAP bm{};
    GetObjectW(strip.Get(), sizeof(bm), &bm);
    const int count = size > 0 ? bm.bmWidth / size : 0;
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, count, 0);
    if (list)
        ImageList_Add(list, static_cast<HBITMAP>(strip.Get()), nullptr);
    return list;
}

TToolBar::TToolBar(TForm* owner, std::wstring name, TWindow* parent, HIMAGELIST images)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(TOOLBARCLASSNAMEW,
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                             CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                         0, parent->Handle(), 0, 0, 100, 24);
    SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (images)
        SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    // The tool bar's own tooltip asks for its texts through its parent; bind it to this
    // object so the question comes back here.
    if (HWND tips = reinterpret_cast<HWND>(SendMessageW(Handle(), TB_GETTOOLTIPS, 0, 0)))
        SetPropW(tips, L"TolvexWindowObject", static_cast<TWindow*>(this));
}

TToolBar::~TToolBar() {
    if (Handle())
        if (HWND tips = reinterpret_cast<HWND>(SendMessageW(Handle(), TB_GETTOOLTIPS, 0, 0)))
            RemovePropW(tips, L"TolvexWindowObject");
    for (const Button& b : buttons_)
        if (b.Action)
            b.Action->RemoveChangeListener(this);
}

void TToolBar::AddButton(TAction* action) {
    TBBUTTON tb{};
    if (action) {
        tb.iBitmap = action->ImageIndex >= 0 ? action->ImageIndex : I_IMAGENONE;
        tb.idCommand = NextButtonCommand();
        tb.fsState = TBSTATE_ENABLED;
        tb.fsStyle = BTNS_BUTTON;
        const std::size_t index = buttons_.size();
        action->AddChangeListener(this, [this] {
            for (std::size_t i = 0; i < buttons_.size(); ++i)
                Refresh(i);
        });
        buttons_.push_back({action, tb.idCommand});
        SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
        Refresh(index);
    } else {
        tb.iBitmap = 8; // a separator's width
        tb.fsStyle = BTNS_SEP;
        buttons_.push_back({nullptr, 0});
        SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
    }
}

void TToolBar::Refresh(std::size_t index) {
    const Button& b = buttons_[index];
    if (!b.Action)
        return;
    SendMessageW(Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(b.Command),
                 MAKELPARAM(b.Action->Enabled(), 0));
    SendMessageW(Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(b.Command),
                 MAKELPARAM(b.Action->Checked(), 0));
}

bool TToolBar::ButtonEnabled(int index) const {
    const Button& b = buttons_.at(static_cast<std::size_t>(index));
    return b.Action && SendMessageW(Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(b.Command), 0) != 0;
}

void TToolBar::ClickButton(int index) {
    const Button& b = buttons_.at(static_cast<std::size_t>(index));
    if (b.Action)
        b.Action->Execute();
}

bool TToolBar::HandleCommand(WORD, WORD id) {
    for (const Button& b : buttons_) {
        if (b.Action && b.Command == id) {
            b.Action->Execute();
            return true;
        }
    }
    return false;
}

bool TToolBar::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code != TTN_GETDISPINFOW)
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    tipText_.clear();
    for (const Button& b : buttons_)
        if (b.Action && static_cast<UINT_PTR>(b.Command) == header->idFrom)
            tipText_ = b.Action->Hint();
    info->lpszText = tipText_.data();
    result = 0;
    return true;
}

TStatusBar::TStatusBar(TForm* owner, std::wstring name, TWindow* parent, const std::vector<int>& panelWidths)
    : TControl(owner, std::move(name), parent), widths_(panelWidths) {
    CreateStandardWindow(STATUSCLASSNAMEW,
                         WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE, 0,
                         parent->Handle(), 0, 0, 100, 19);
    std::vector<int> edges;
    int right = 0;
    for (int w : widths_)
        edges.push_back(right += w);
    SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

std::wstring TStatusBar::PanelText(int index) const {
    const auto len = LOWORD(SendMessageW(Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0));
    std::wstring text(static_cast<std::size_t>(len) + 1, L'\0');
    SendMessageW(Handle(), SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(len);
    return text;
}

void TStatusBar::SetPanelText(int index, const std::wstring& text) {
    if (index < 0 || index >= PanelCount())
        return;
    SendMessageW(Handle(), SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

TTabSheet::TTabSheet(TForm* owner, std::wstring name, std::wstring caption)
    : TComponent(owner, std::move(name)), caption_(std::move(caption)) {}

void TTabSheet::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    if (PageControl)
        PageControl->RefreshCaption(this);
}

TPageControl::TPageControl(TForm* owner, std::wstring name, TWindow* parent)
    : TControl(owner, std::move(name), parent) {
    CreateStandardWindow(WC_TABCONTROLW, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_TABS | TCS_FOCUSNEVER,
                         0, parent->Handle(), 0, 0, 100, 24);
    owner->ApplyFontTo(Handle());
}

TTabSheet* TPageControl::Pages(int index) const {
    return index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int TPageControl::IndexOf(const TTabSheet* sheet) const {
    const auto it = std::find(pages_.begin(), pages_.end(), sheet);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::AddPage(TTabSheet* sheet) {
    sheet->PageControl = this;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = sheet->Caption();
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));
    pages_.push_back(sheet);
}

void TPageControl::RemovePage(TTabSheet* sheet) {
    const int index = IndexOf(sheet);
    if (index < 0)
        return;
    SendMessageW(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    pages_.erase(pages_.begin() + index);
    sheet->PageControl = nullptr;
}

int TPageControl::ActivePageIndex() const {
    return static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

void TPageControl::SetActivePageIndex(int index) {
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < PageCount() ? index : -1),
                 0);
}

TTabSheet* TPageControl::ActivePage() const {
    return Pages(ActivePageIndex());
}

void TPageControl::SetActivePage(TTabSheet* sheet) {
    SetActivePageIndex(IndexOf(sheet));
}

void TPageControl::RefreshCaption(const TTabSheet* sheet) {
    const int index = IndexOf(sheet);
    if (index < 0)
        return;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = sheet->Caption();
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool TPageControl::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code == TCN_SELCHANGE) {
        if (OnChange)
            OnChange(this);
        result = 0;
        return true;
    }
    return false;
}

LRESULT TPageControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CONTEXTMENU && PopupMenu) {
        // A right click shows the menu without selecting a tab.
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (pt.x == -1 && pt.y == -1)
            GetCursorPos(&pt);
        PopupMenu->Popup(pt.x, pt.y);
        return 0;
    }
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) {
        if (msg == WM_RBUTTONUP) {
            POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ClientToScreen(Handle(), &pt);
            SendMessageW(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()),
                         MAKELPARAM(pt.x, pt.y));
        }
        return 0;
    }
    return TControl::WndProc(msg, wParam, lParam);
}
