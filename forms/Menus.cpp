#include <windows.h>

#include "forms/Menus.h"

#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/Exceptions.h"
#include "forms/Form.h"
#include "forms/Strings.h"

#include <map>

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
    : TComponent(owner, std::move(name)), action_(action), caption_(std::move(caption)), command_(NextCommand()) {
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

std::wstring TMenuItem::Caption() const { return action_ ? action_->Caption() : caption_; }

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

bool TMenuItem::Enabled() const { return action_ ? action_->Enabled() : enabled_; }
void TMenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Refresh();
}
bool TMenuItem::Checked() const { return action_ ? action_->Checked() : checked_; }
void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    Refresh();
}
bool TMenuItem::Visible() const { return action_ ? action_->Visible() && visible_ : visible_; }
void TMenuItem::SetVisible(bool visible) { visible_ = visible; }
TShortCut TMenuItem::ShortCut() const { return action_ ? action_->ShortCut : 0; }

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

void TMenuItem::Rebuild(HMENU into) {
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

void TPopupMenu::Popup(int x, int y) {
    // A fresh menu each time: the old one goes with all its sub-menus.
    root_->ForgetSubMenus();
    root_->Rebuild(nullptr);
    TMenuItem::RefreshPopup(root_->SubMenu());
    HWND owner = Owner() ? Owner()->Handle() : nullptr;
    // The menu closes properly only when its owner is the foreground window.
    SetForegroundWindow(owner);
    if (Application)
        ++Application->ModalLevel;
    const UINT cmd = static_cast<UINT>(TrackPopupMenu(root_->SubMenu(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y,
                                                      0, owner, nullptr));
    if (Application)
        --Application->ModalLevel;
    PostMessageW(owner, WM_NULL, 0, 0);
    if (cmd)
        if (TMenuItem* item = TMenuItem::FindByCommand(cmd))
            item->Click();
}
