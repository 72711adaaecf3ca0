#pragma once
// Menus: the main menu bar and pop-up menus, built from menu items that may be bound to
// actions (caption, shortcut text, enabled and check state follow the action).
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ShortCut.h"
#include "forms/Component.h"
#include "forms/Handles.h"

class TAction;

class TMenuItem : public TComponent {
public:
    // A separator is an item with the caption "-".
    TMenuItem(TForm* owner, std::wstring name, std::wstring caption = {}, TAction* action = nullptr);
    ~TMenuItem() override;

    TMenuItem* Add(TMenuItem* child);
    // Adds an item bound to an action; a null action adds a separator.
    TMenuItem* AddAction(TAction* action, std::wstring name = {});
    TMenuItem* AddSeparator();
    const std::vector<TMenuItem*>& Items() const { return items_; }
    TMenuItem* ParentItem() const { return parent_; }

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Checked() const;
    void SetChecked(bool checked);
    bool Visible() const;
    void SetVisible(bool visible);
    TShortCut ShortCut() const;
    TAction* Action() const { return action_; }
    bool IsSeparator() const { return Caption() == L"-"; }
    UINT Command() const { return command_; }
    // The pop-up menu that holds this item's children (created on first need).
    HMENU SubMenu() const { return subMenu_; }

    TNotifyEvent OnClick;
    // Runs the bound action, or OnClick.
    void Click();

    // Owner-drawn items (those of an owner-drawn pop-up's first level): the measuring event
    // runs after the standard measuring; the drawing event, when set, replaces the standard
    // drawing. state holds the ODS_ flags of the item.
    std::function<void(TMenuItem* sender, HDC canvas, int& width, int& height)> OnMeasureItem;
    std::function<void(TMenuItem* sender, HDC canvas, const RECT& rect, UINT state)> OnAdvancedDrawItem;
    // The standard look of an owner-drawn item: its picture from the menu's images, check
    // mark, caption and shortcut text, highlighted when selected; a separator's line.
    void MeasureStandard(HDC canvas, int& width, int& height) const;
    void DrawStandard(HDC canvas, const RECT& rect, UINT state) const;
    // The menu's pictures for the items' actions (null: none).
    HIMAGELIST Images = nullptr;
    // Handles a menu's WM_MEASUREITEM or WM_DRAWITEM sent to its owner window; false when
    // the message is not about one of these items.
    static bool HandleOwnerDraw(UINT msg, LPARAM lParam);

    // Rebuilds this item's children into its sub-menu (or the given menu handle); owner
    // drawn applies to the children only, not to deeper levels.
    void Rebuild(HMENU into, bool ownerDraw = false);
    // Forgets the sub-menu handles of this item's tree (their menu was destroyed).
    void ForgetSubMenus();
    // Refreshes the state of one item in the menu that holds it.
    void Refresh();

    static TMenuItem* FindByCommand(UINT command);
    // Runs the update tests of the items of a pop-up that is about to open.
    static void RefreshPopup(HMENU popup);

private:
    std::wstring MenuText() const;
    TMenuItem* parent_ = nullptr;
    TAction* action_;
    std::wstring caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    bool ownerDrawn_ = false;
    UINT command_;
    std::vector<TMenuItem*> items_;
    // The sub-menu belongs to this item until it is put into a parent menu, which then
    // destroys it with itself.
    HMENU subMenu_ = nullptr;
    bool ownsSubMenu_ = false;
    HMENU container_ = nullptr; // the menu handle this item stands in
};

// The menu bar of a form.
class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TForm* owner, std::wstring name = L"MainMenu1");
    TMenuItem* Items() const { return root_; }
    HMENU Handle() const { return menu_.Get(); }
    // Builds the menu bar from the items; call after the items are added.
    void Rebuild();
    // The sub-menu that an MDI frame uses for its window list, or null.
    HMENU WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* item) { windowItem_ = item; }

private:
    TMenuItem* root_;
    TMenuHandle menu_;
    TMenuItem* windowItem_ = nullptr;
    HMENU windowMenu_ = nullptr;
};

// A menu shown at a point: the tab strip's menu, the tray menu.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TForm* owner, std::wstring name);
    TMenuItem* Items() const { return root_; }
    // Shows the menu at screen coordinates and runs the chosen item.
    virtual void Popup(int x, int y);
    HMENU Handle() const { return root_->SubMenu(); }
    // Builds the menu's handle afresh from the items, as Popup does before it opens.
    void Rebuild();
    // Whether the first-level items are drawn by their events (set before Popup).
    bool OwnerDraw = false;
    // Pictures for the owner-drawn items' actions.
    HIMAGELIST Images = nullptr;

protected:
    TMenuItem* root_;
};
