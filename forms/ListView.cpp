#include "forms/ListView.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

TListView::TListView(TForm* owner, std::wstring name, TWindow* parent, int left, int top, int width,
                     int height)
    : TControl(owner, std::move(name), parent) {
    // The image list belongs to the dialog that fills it, hence shared.
    CreateStandardWindow(WC_LISTVIEWW,
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                             LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE,
                         WS_EX_CLIENTEDGE, parent->Handle(), left, top, width, height);
}

void TListView::SetLargeImages(HIMAGELIST images) {
    ListView_SetImageList(Handle(), images, LVSIL_NORMAL);
}

void TListView::Clear() {
    ListView_DeleteAllItems(Handle());
}

int TListView::AddItem(const std::wstring& caption, int imageIndex) {
    std::wstring text = caption;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = Count();
    item.pszText = text.data();
    item.iImage = imageIndex;
    return static_cast<int>(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int TListView::Count() const {
    return ListView_GetItemCount(Handle());
}

std::wstring TListView::ItemCaption(int index) const {
    // Captions are read with growing room until they fit.
    for (int size = 64; size <= 65536; size *= 4) {
        std::vector<wchar_t> buffer(static_cast<std::size_t>(size), L'\0');
        LVITEMW item{};
        item.pszText = buffer.data();
        item.cchTextMax = size;
        const auto length = static_cast<int>(SendMessageW(
            Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (length < size - 1)
            return std::wstring(item.pszText, static_cast<std::size_t>(length));
    }
    return {};
}

int TListView::ItemImageIndex(int index) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (!SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage;
}

int TListView::SelectedIndex() const {
    return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

void TListView::SetSelectedIndex(int index) {
    // Clearing every item first leaves at most the one selection.
    ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0 && index < Count())
        ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TListView::BeginUpdate() {
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TListView::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code != LVN_ITEMCHANGED)
        return false;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    result = 0;
    if (!(change->uChanged & LVIF_STATE) || change->iItem < 0)
        return true;
    const bool was = (change->uOldState & LVIS_SELECTED) != 0;
    const bool now = (change->uNewState & LVIS_SELECTED) != 0;
    if (was != now && OnSelectItem)
        OnSelectItem(this, change->iItem, now);
    return true;
}
