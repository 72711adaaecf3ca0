#include "forms/Menus.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/Exceptions.h"
#include "forms/Form.h"
#include "forms/Strings.h"

namespace {
// Command ids of menu items, unique in the process.
std::map<UINT, TMenuItem*>& CommandMap() {
    static std::map<UINT, TMenuItem*> map;
    return map;
}
UINT NextCommand() {
    static UINT next = 1000;
    return next++;
}
} // namespace

TMenuItem::TMenuItem(TForm* owner, std::wstring name, std::wstring caption, TAction* action)
    : TComponent(owner, std::move(name)), action_(action), caption_(std::move(caption)),
      command_(NextCommand()) {
    CommandMap()[command_] = this;
    if (action_)
        action_->AddChangeListener(this, [this] { Refresh(); });
}

TMenuItem::~TMenuItem() {
    CommandMap().erase(command_);
    if (ownsSubMenu_ && subMenu_)
        DestroyMenu(subMenu_);
    if (action_)
        action_->RemoveChangeListener(this);
}

TMenuItem* TMenuItem::Add(TMenuItem* child) {
    child->parent_ = this;
    items_.push_back(child);
    return child;
}

TMenuItem* TMenuItem::AddAction(TAction* action, std::wstring name) {
    if (!action)
        return AddSeparator();
    if (name.empty())
        name = L"mi" + action->Name();
    return Add(Owner()->Make<TMenuItem>(std::move(name), std::wstring{}, action));
}

TMenuItem* TMenuItem::AddSeparator() {
    return Add(Owner()->Make<TMenuItem>(std::wstring{}, L"-"));
}

std::wstring TMenuItem::Caption() const {
    return action_ ? action_->Caption() : caption_;
}

void TMenuItem::SetCaption(const std::wstring& caption) {
    // An item bound to an action shows the action's caption; setting its own caption
    // unbinds the text only, as the language file does for menu items.
    caption_ = caption;
    if (action_) {
        action_->RemoveChangeListener(this);
        TAction* a = action_;
        action_ = nullptr;
        enabled_ = a->Enabled();
        checked_ = a->Checked();
        // The command still runs the action.
        OnClick = [a](TObject*) { a->Execute(); };
        a->AddChangeListener(this, [this, a] {
            enabled_ = a->Enabled();
            checked_ = a->Checked();
            Refresh();
        });
    }
    Refresh();
}

bool TMenuItem::Enabled() const {
    return action_ ? action_->Enabled() : enabled_;
}
void TMenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Refresh();
}
bool TMenuItem::Checked() const {
    return action_ ? action_->Checked() : checked_;
}
void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    Refresh();
}
bool TMenuItem::Visible() const {
    return action_ ? action_->Visible() && visible_ : visible_;
}
void TMenuItem::SetVisible(bool visible) {
    visible_ = visible;
}
TShortCut TMenuItem::ShortCut() const {
    return action_ ? action_->ShortCut : 0;
}

void TMenuItem::Click() {
    if (action_)
        action_->Execute();
    else if (OnClick)
        OnClick(this);
}

std::wstring TMenuItem::MenuText() const {
    std::wstring text = Caption();
    if (const std::wstring keys = ShortCutToText(ShortCut()); !keys.empty())
        text += L"\t" + keys;
    return text;
}

void TMenuItem::Rebuild(HMENU into, bool ownerDraw) {
    if (!into) {
        if (!subMenu_) {
            subMenu_ = CreatePopupMenu();
            ownsSubMenu_ = true;
        }
        into = subMenu_;
        while (GetMenuItemCount(into) > 0)
            RemoveMenu(into, 0, MF_BYPOSITION);
    }
    for (TMenuItem* item : items_) {
        if (!item->Visible())
            continue;
        item->container_ = into;
        item->ownerDrawn_ = ownerDraw;
        item->Images = Images;
        if (ownerDraw) {
            // An owner-drawn item carries its command id as its data, so that the owner's
            // drawing messages find it again.
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
            mii.fType = MFT_OWNERDRAW | (item->IsSeparator() ? MFT_SEPARATOR : 0u);
            mii.wID = item->command_;
            mii.dwItemData = item->command_;
            mii.fState =
                (item->Enabled() ? MFS_ENABLED : MFS_DISABLED) | (item->Checked() ? MFS_CHECKED : 0u);
            if (!item->items_.empty() && !item->IsSeparator()) {
                item->Images = nullptr;
                item->Rebuild(nullptr);
                mii.fMask |= MIIM_SUBMENU;
                mii.hSubMenu = item->subMenu_;
                item->ownsSubMenu_ = false;
            }
            InsertMenuItemW(into, static_cast<UINT>(GetMenuItemCount(into)), TRUE, &mii);
            continue;
        }
        if (item->IsSeparator()) {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        if (!item->items_.empty()) {
            item->Rebuild(nullptr);
            AppendMenuW(into, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(item->subMenu_),
                        item->Caption().c_str());
            item->ownsSubMenu_ = false; // its parent menu destroys it now
            continue;
        }
        AppendMenuW(into, MF_STRING, item->command_, item->MenuText().c_str());
        item->Refresh();
    }
}

void TMenuItem::Refresh() {
    if (!container_)
        return;
    if (ownerDrawn_) {
        // The text of an owner-drawn item is read when it is drawn; only its state is kept.
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STATE;
        mii.fState = (Enabled() ? MFS_ENABLED : MFS_DISABLED) | (Checked() ? MFS_CHECKED : MFS_UNCHECKED);
        SetMenuItemInfoW(container_, command_, FALSE, &mii);
        return;
    }
    const std::wstring text = items_.empty() ? MenuText() : Caption();
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING | MIIM_STATE;
    mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
    mii.fState = (Enabled() ? MFS_ENABLED : MFS_DISABLED) | (Checked() ? MFS_CHECKED : MFS_UNCHECKED);
    if (items_.empty())
        SetMenuItemInfoW(container_, command_, FALSE, &mii);
    else {
        // A sub-menu item is found by its position in the menu that holds it.
        const int count = GetMenuItemCount(container_);
        for (int i = 0; i < count; ++i)
            if (GetSubMenu(container_, i) == subMenu_)
                SetMenuItemInfoW(container_, static_cast<UINT>(i), TRUE, &mii);
    }
}

void TMenuItem::ForgetSubMenus() {
    if (ownsSubMenu_ && subMenu_)
        DestroyMenu(subMenu_);
    subMenu_ = nullptr;
    ownsSubMenu_ = false;
    container_ = nullptr;
    for (TMenuItem* item : items_)
        item->ForgetSubMenus();
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
    const auto it = CommandMap().find(command);
    return it == CommandMap().end() ? nullptr : it->second;
}

void TMenuItem::RefreshPopup(HMENU popup) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (TMenuItem* item = FindByCommand(id)) {
            if (item->action_)
                item->action_->Update();
            item->Refresh();
        }
    }
}

TMainMenu::TMainMenu(TForm* owner, std::wstring name)
    : TComponent(owner, std::move(name)), root_(owner->Make<TMenuItem>(std::wstring{})) {}

void TMainMenu::Rebuild() {
    for (TMenuItem* item : root_->Items())
        item->ForgetSubMenus();
    menu_.Reset(CreateMenu());
    root_->Rebuild(menu_.Get());
    // The bar owns the sub-menus now; the items must not destroy them again.
    windowMenu_ = windowItem_ ? windowItem_->SubMenu() : nullptr;
}

TPopupMenu::TPopupMenu(TForm* owner, std::wstring name)
    : TComponent(owner, std::move(name)), root_(owner->Make<TMenuItem>(std::wstring{})) {}

void TPopupMenu::Rebuild() {
    // A fresh menu each time: the old one goes with all its sub-menus.
    root_->ForgetSubMenus();
    root_->Images = Images;
    root_->Rebuild(nullptr, OwnerDraw);
    TMenuItem::RefreshPopup(root_->SubMenu());
}

void TPopupMenu::Popup(int x, int y) {
    Rebuild();
    HWND owner = Owner() ? Owner()->Handle() : nullptr;
    // The menu closes properly only when its owner is the foreground window.
    SetForegroundWindow(owner);
    if (Application)
        ++Application->ModalLevel;
    const UINT cmd = static_cast<UINT>(
        TrackPopupMenu(root_->SubMenu(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    if (Application)
        --Application->ModalLevel;
    PostMessageW(owner, WM_NULL, 0, 0);
    if (cmd)
        if (TMenuItem* item = TMenuItem::FindByCommand(cmd))
            item->Click();
}

namespace {
// Room of an owner-drawn item: a picture column, margins around the caption and a gap
// before the shortcut text.
constexpr int kPictureColumn = 24;
constexpr int kTextMargin = 8;
constexpr int kShortCutGap = 16;
constexpr int kPictureSize = 16;

// The system's menu font for as long as an item is measured or drawn.
class TMenuFont {
public:
    explicit TMenuFont(HDC dc) : dc_(dc) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font_.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
        previous_ = SelectObject(dc_, font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
    }
    TMenuFont(const TMenuFont&) = delete;
    TMenuFont& operator=(const TMenuFont&) = delete;
    ~TMenuFont() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    TGdiObject font_;
    HGDIOBJ previous_;
};

SIZE TextSize(HDC dc, const std::wstring& text) {
    SIZE size{};
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    size.cx = r.right - r.left;
    size.cy = r.bottom - r.top;
    return size;
}
} // namespace

void TMenuItem::MeasureStandard(HDC canvas, int& width, int& height) const {
    if (IsSeparator()) {
        width = 0;
        height = 5;
        return;
    }
    const TMenuFont font(canvas);
    const SIZE caption = TextSize(canvas, Caption());
    const std::wstring keys = ShortCutToText(ShortCut());
    width = kPictureColumn + kTextMargin + caption.cx + kTextMargin;
    if (!keys.empty())
        width += kShortCutGap + TextSize(canvas, keys).cx;
    height = std::max<int>({caption.cy + 6, kPictureSize + 4, GetSystemMetrics(SM_CYMENUSIZE)});
}

void TMenuItem::DrawStandard(HDC canvas, const RECT& rect, UINT state) const {
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool disabled = (state & (ODS_DISABLED | ODS_GRAYED)) != 0 || !Enabled();
    FillRect(canvas, &rect, GetSysColorBrush(selected && !IsSeparator() ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (IsSeparator()) {
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        line.left += 2;
        line.right -= 2;
        DrawEdge(canvas, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    // The picture of the action, or a check mark where the item is checked.
    const int pictureTop = rect.top + (rect.bottom - rect.top - kPictureSize) / 2;
    const int index = action_ ? action_->ImageIndex : -1;
    if (Images && index >= 0 && index < ImageList_GetImageCount(Images)) {
        ImageList_DrawEx(Images, index, canvas, rect.left + 4, pictureTop, kPictureSize, kPictureSize,
                         CLR_NONE, CLR_NONE, disabled ? ILD_BLEND50 : ILD_TRANSPARENT);
    } else if (Checked()) {
        RECT mark{rect.left + 4, pictureTop, rect.left + 4 + kPictureSize, pictureTop + kPictureSize};
        DrawFrameControl(canvas, &mark, DFC_MENU, DFCS_MENUCHECK | DFCS_TRANSPARENT);
    }
    const TMenuFont font(canvas);
    const int oldMode = SetBkMode(canvas, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(canvas, GetSysColor(disabled   ? COLOR_GRAYTEXT
                                                               : selected ? COLOR_HIGHLIGHTTEXT
                                                                          : COLOR_MENUTEXT));
    RECT text{rect.left + kPictureColumn + kTextMargin, rect.top, rect.right - kTextMargin, rect.bottom};
    const std::wstring caption = Caption();
    DrawTextW(canvas, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (const std::wstring keys = ShortCutToText(ShortCut()); !keys.empty())
        DrawTextW(canvas, keys.c_str(), static_cast<int>(keys.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    SetTextColor(canvas, oldColor);
    SetBkMode(canvas, oldMode);
}

bool TMenuItem::HandleOwnerDraw(UINT msg, LPARAM lParam) {
    if (msg == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU)
            return false;
        TMenuItem* item = FindByCommand(static_cast<UINT>(measure->itemData));
        if (!item || !item->ownerDrawn_)
            return false;
        const TWindowDC screen(nullptr);
        int width = 0;
        int height = 0;
        item->MeasureStandard(screen.Get(), width, height);
        if (item->OnMeasureItem)
            item->OnMeasureItem(item, screen.Get(), width, height);
        measure->itemWidth = static_cast<UINT>(std::max(0, width));
        measure->itemHeight = static_cast<UINT>(std::max(0, height));
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU)
            return false;
        TMenuItem* item = FindByCommand(static_cast<UINT>(draw->itemData));
        if (!item || !item->ownerDrawn_)
            return false;
        if (item->OnAdvancedDrawItem)
            item->OnAdvancedDrawItem(item, draw->hDC, draw->rcItem, draw->itemState);
        else
            item->DrawStandard(draw->hDC, draw->rcItem, draw->itemState);
        return true;
    }
    return false;
}
