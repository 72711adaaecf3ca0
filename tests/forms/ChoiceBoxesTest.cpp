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

TEST_F(FormsTest, AColourBoxListsOddColoursByValueAndAsksForCustomOnes) {
    auto form = CreateForm<TForm>(nullptr, L"ColourBoxForm", TFormDesign{});
    auto* box = form->Make<TColorComboBox>(L"JvColorComboBox1", form.get(), 10, 10, 90);
    EXPECT_EQ(box->ColorValue(), 0);
    EXPECT_EQ(box->Items()[static_cast<std::size_t>(box->ItemIndex())], L"Black");
    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetColorValue(0x0000FF);
    EXPECT_EQ(box->Items()[static_cast<std::size_t>(box->ItemIndex())], L"Red");
    box->SetColorValue(0x123456);
    EXPECT_EQ(box->Items()[static_cast<std::size_t>(box->ItemIndex())], L"$123456");
    EXPECT_EQ(box->ItemCount(), 18);
    EXPECT_EQ(changes, 2);

    // "Custom..." asks; a cancelled dialog gives the former choice back.
    const auto pickCustom = [&] {
        SendMessageW(box->Handle(), CB_SETCURSEL, static_cast<WPARAM>(box->ItemCount() - 1), 0);
        SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box->Handle()));
    };
    ChooseColorHook = [](HWND, TColor&) { return false; };
    pickCustom();
    EXPECT_EQ(box->ColorValue(), 0x123456);
    EXPECT_EQ(box->Items()[static_cast<std::size_t>(box->ItemIndex())], L"$123456");
    ChooseColorHook = [](HWND, TColor& c) {
        c = 0xFFFFFF;
        return true;
    };
    pickCustom();
    ChooseColorHook = nullptr;
    EXPECT_EQ(box->ColorValue(), 0xFFFFFF);
    EXPECT_EQ(box->Items()[static_cast<std::size_t>(box->ItemIndex())], L"White");
    EXPECT_EQ(box->ItemCount(), 17);
    EXPECT_EQ(changes, 3);
}
