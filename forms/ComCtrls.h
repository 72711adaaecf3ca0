#pragma once
// Common controls: tool bars bound to actions, the status bar with its panels, and the tab
// strip whose tabs stand for the document windows.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "forms/Controls.h"

class TAction;
class TPopupMenu;

// An image list from a bitmap resource holding a strip of square 32-bit pictures with
// alpha, side by side; null when the resource is missing. The caller destroys it.
HIMAGELIST LoadImageStrip(const wchar_t* resourceName, int size);

// A flat tool bar whose buttons run actions and follow their state; hints are the
// actions' hints.
class TToolBar : public TControl {
public:
    // images: a strip of 16x16 images (a bitmap resource name), or null for none.
    TToolBar(TForm* owner, std::wstring name, TWindow* parent, HIMAGELIST images);
    ~TToolBar() override;
    // Adds a button for the action; a null action adds an 8-pixel separator.
    void AddButton(TAction* action);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TAction* ButtonAction(int index) const { return buttons_.at(static_cast<std::size_t>(index)).Action; }
    bool ButtonEnabled(int index) const;
    // Runs a button as a click does (for tests and keyboard users).
    void ClickButton(int index);

protected:
    bool HandleCommand(WORD code, WORD id) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;

private:
    void Refresh(std::size_t index);
    struct Button {
        TAction* Action;
        int Command;
    };
    std::vector<Button> buttons_;
    std::wstring tipText_;
};

// The status bar: panels of fixed widths whose texts the program writes.
class TStatusBar : public TControl {
public:
    TStatusBar(TForm* owner, std::wstring name, TWindow* parent, const std::vector<int>& panelWidths);
    int PanelCount() const { return static_cast<int>(widths_.size()); }
    std::wstring PanelText(int index) const;
    void SetPanelText(int index, const std::wstring& text);

private:
    std::vector<int> widths_;
};

// A tab of the tab strip.
class TTabSheet : public TComponent {
public:
    TTabSheet(TForm* owner, std::wstring name, std::wstring caption);
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    class TPageControl* PageControl = nullptr;
    // The object the tab stands for (a document window).
    TObject* Data = nullptr;

private:
    std::wstring caption_;
};

// The tab strip.
class TPageControl : public TControl {
public:
    TPageControl(TForm* owner, std::wstring name, TWindow* parent);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    int IndexOf(const TTabSheet* sheet) const;
    void AddPage(TTabSheet* sheet);
    void RemovePage(TTabSheet* sheet);
    int ActivePageIndex() const;
    // Selects a tab; an index outside the tabs selects none. Raises no OnChange.
    void SetActivePageIndex(int index);
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* sheet);
    void RefreshCaption(const TTabSheet* sheet);

    TNotifyEvent OnChange;
    TPopupMenu* PopupMenu = nullptr;

protected:
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<TTabSheet*> pages_;
};
