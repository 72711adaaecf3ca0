// The list view (items with pictures, one selection, an event per selection change) and
// the file-name edit with its browse button.
#include "forms/ListView.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "FormsTestSupport.h"
#include "forms/FilenameEdit.h"
#include "forms/Form.h"

namespace {
TFormDesign ListHost() {
    TFormDesign d;
    d.Caption = L"List host";
    d.Width = 300;
    d.Height = 250;
    d.Border = TBorderStyle::Dialog;
    return d;
}
} // namespace

TEST_F(FormsTest, ListViewReportsEachSelectionAndDeselectionOnceWithItsItem) {
    auto form = CreateForm<TForm>(nullptr, L"ListHost", ListHost());
    auto* list = form->Make<TListView>(L"IconView", form.get(), 8, 8, 250, 150);
    std::vector<std::pair<int, bool>> events;
    list->OnSelectItem = [&](TObject*, int item, bool selected) { events.emplace_back(item, selected); };
    EXPECT_EQ(list->AddItem(L"0", 0), 0);
    EXPECT_EQ(list->AddItem(L"1", 4), 1);
    EXPECT_EQ(list->AddItem(std::wstring(300, L'x'), 2), 2);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->ItemCaption(1), L"1");
    EXPECT_EQ(list->ItemCaption(2), std::wstring(300, L'x'));
    EXPECT_EQ(list->ItemImageIndex(1), 4);
    EXPECT_EQ(list->ItemImageIndex(7), -1);
    EXPECT_EQ(list->SelectedIndex(), -1);

    list->SetSelectedIndex(0);
    list->SetSelectedIndex(1);
    list->SetSelectedIndex(-1);
    EXPECT_EQ(events, (std::vector<std::pair<int, bool>>{{0, true}, {0, false}, {1, true}, {1, false}}));
    list->SetSelectedIndex(5); // no such item: nothing selected
    EXPECT_EQ(list->SelectedIndex(), -1);
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(FormsTest, FileNameEditRaisesItsChangeForTypingAndForAChosenFileOnly) {
    auto form = CreateForm<TForm>(nullptr, L"EditHost", ListHost());
    auto* edit = form->Make<TFilenameEdit>(L"FilenameEdit1", form.get(), 10, 10, 200);
    edit->Filter = L"Programs (*.exe)|*.exe";
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    // The button takes its room from the given width, at the edit's right.
    const RECT box = edit->BoundsRect();
    const RECT button = edit->BrowseButton()->BoundsRect();
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(button.right, 210);
    EXPECT_EQ(box.right, button.left);

    SetWindowTextW(edit->Handle(), L"C:\\typed.exe");
    EXPECT_EQ(changes, 1);
    std::wstring seenFilter;
    OpenDialogHook = [&](std::wstring& name, const std::wstring& filter) {
        seenFilter = filter;
        name = L"C:\\chosen.exe";
        return true;
    };
    edit->BrowseButton()->Click();
    EXPECT_EQ(edit->FileName(), L"C:\\chosen.exe");
    EXPECT_EQ(seenFilter, L"Programs (*.exe)|*.exe");
    EXPECT_EQ(changes, 2);
    OpenDialogHook = [](std::wstring&, const std::wstring&) { return false; };
    edit->BrowseButton()->Click();
    EXPECT_EQ(changes, 2);
    OpenDialogHook = nullptr;
}
