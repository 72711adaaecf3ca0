#include <windows.h>

#include <string>
#include <vector>

#include "FormsTestSupport.h"
#include "forms/ColorComboBox.h"
#include "forms/EditComboBox.h"
#include "forms/Form.h"

TEST_F(FormsTest, AnEditableBoxReportsTypedTextAndPicksWithTheTextAlreadyUpdated) {
    auto form = CreateForm<TForm>(nullptr, L"EditBoxForm", TFormDesign{});
    auto* box = form->Make<TEditComboBox>(L"ComboBox1", form.get(), 10, 10, 60);
    box->SetText(L"17");
    box->SetItems({L"8", L"9", L"72"});
    EXPECT_EQ(box->Text(), L"17"); // a new list keeps the typed text
    EXPECT_EQ(box->ItemCount(), 3);
    std::vector<std::wstring> seen;
    box->OnChange = [&](TObject*) { seen.push_back(box->Text()); };
    box->SetText(L"17");
    EXPECT_TRUE(seen.empty());
    // A pick from the list, as the box reports it to its parent.
    SendMessageW(box->Handle(), CB_SETCURSEL, 2, 0);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->Handle()));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"72"}));
    EXPECT_EQ(box->Text(), L"72");
}

TEST_F(FormsTest, AColourBoxReportsEveryChangeOfItsColourOnce) {
    auto form = CreateForm<TForm>(nullptr, L"ColourBoxForm", TFormDesign{});
    auto* box = form->Make<TColorComboBox>(L"JvColorComboBox1", form.get());
    int changes = 0;
    box->OnColorChange = [&](TObject*) { ++changes; };
    box->SetColorValue(0xFFFFFF); // already white
    EXPECT_EQ(changes, 0);
    box->SetColorValue(0x0000FF);
    box->SetColorValue(0x123456);
    EXPECT_EQ(changes, 2);
    // A choice in the list, as the box reports it to its parent.
    SendMessageW(box->Handle(), CB_SETCURSEL, 0, 0);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->Handle()));
    EXPECT_EQ(box->ColorValue(), 0x000000);
    EXPECT_EQ(changes, 3);
    // A cancelled colour dialog changes nothing.
    TColorComboBox::PickColor = [](HWND, TColor&) { return false; };
    SendMessageW(box->Handle(), CB_SETCURSEL, static_cast<WPARAM>(box->ItemCount() - 1), 0);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box->Handle()));
    TColorComboBox::PickColor = nullptr;
    EXPECT_EQ(box->ColorValue(), 0x000000);
    EXPECT_EQ(changes, 3);
}
