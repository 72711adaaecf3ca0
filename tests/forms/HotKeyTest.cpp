#include "forms/HotKey.h"

#include <windows.h>

#include <commctrl.h>

#include "FormsTestSupport.h"
#include "forms/Form.h"

namespace {
TFormDesign HotKeyDialog() {
    TFormDesign d;
    d.Caption = L"Keys";
    d.Width = 300;
    d.Height = 120;
    d.Border = TBorderStyle::Dialog;
    return d;
}
} // namespace

TEST_F(FormsTest, AHotKeyFieldHoldsTheShortcutItWasGivenWithEveryModifier) {
    // Ctrl+Alt+F2 = 0x40 | 0x80 in the high byte, VK_F2 = 0x71.
    EXPECT_EQ(HotKeyFieldToShortCut(ShortCutToHotKeyField(0xC071)), 0xC071);
    EXPECT_EQ(ShortCutToHotKeyField(0x6070), (HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | VK_F1);
    EXPECT_EQ(HotKeyFieldToShortCut((HOTKEYF_ALT | HOTKEYF_EXT) << 8 | 'K'), 0x804B);
    EXPECT_EQ(HotKeyFieldToShortCut(HOTKEYF_CONTROL << 8), 0); // modifiers without a key are no shortcut

    auto form = CreateForm<TForm>(nullptr, L"HotKeyForm", HotKeyDialog());
    auto* field = form->Make<THotKey>(L"hkTest", form.get(), 10, 10);
    EXPECT_EQ(field->HotKey(), 0);
    field->SetHotKey(24689); // Ctrl+Shift+F2
    EXPECT_EQ(field->HotKey(), 24689);
    field->SetHotKey(0xA041); // Alt+Shift+A
    EXPECT_EQ(field->HotKey(), 0xA041);
    field->SetHotKey(0);
    EXPECT_EQ(field->HotKey(), 0);
}

TEST_F(FormsTest, APlainKeyPressedInAHotKeyFieldIsTakenWithCtrlAndShift) {
    auto form = CreateForm<TForm>(nullptr, L"HotKeyForm", HotKeyDialog());
    auto* field = form->Make<THotKey>(L"hkTest", form.get(), 10, 10);
    form->Show();
    SetFocus(field->Handle());
    SendMessageW(field->Handle(), WM_KEYDOWN, 'Q', 0);
    SendMessageW(field->Handle(), WM_KEYUP, 'Q', static_cast<LPARAM>(static_cast<LONG>(0xC0000001u)));
    EXPECT_EQ(field->HotKey(), MakeShortCut('Q', true, true, false));
}
