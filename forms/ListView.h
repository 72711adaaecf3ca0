#pragma once
// A list view in the large-icon style: items with a caption and a picture from an image
// list the caller keeps, and an event for each selection and deselection of an item.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "forms/Controls.h"

class TListView : public TControl {
public:
    TListView(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width, int height);

    // The pictures of the items; the list view does not free them.
    void SetLargeImages(HIMAGELIST images);
    void Clear();
    // Adds an item at the end; its index.
    int AddItem(const std::wstring& caption, int imageIndex);
    int Count() const;
    std::wstring ItemCaption(int index) const;
    int ItemImageIndex(int index) const;
    // The first selected item, or -1.
    int SelectedIndex() const;
    // Selects one item (and focuses it); -1 clears the selection.
    void SetSelectedIndex(int index);
    // Holds the repainting while many items are added.
    void BeginUpdate();
    void EndUpdate();

    // An item became selected (true) or lost its selection (false).
    std::function<void(TObject* sender, int item, bool selected)> OnSelectItem;

protected:
    bool HandleNotify(NMHDR* header, LRESULT& result) override;
};
