#include <windows.h>

#include <commctrl.h>

#include "FormsTestSupport.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"

namespace {
LRESULT HintPauseOf(const TForm& form) {
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr)
        if (GetWindow(tip, GW_OWNER) == form.Handle())
            return SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0);
    return -1;
}
} // namespace

TEST_F(FormsTest, TheHintPauseReachesTheHintsOfFormsMadeBeforeAndAfterIt) {
    TFormDesign d;
    auto before = CreateForm<TForm>(nullptr, L"Before", d);
    before->Make<TButton>(L"Button1", before.get(), L"A", 0, 0)->SetHint(L"first");
    App().SetHintHidePause(7000);
    EXPECT_EQ(HintPauseOf(*before), 7000);
    auto after = CreateForm<TForm>(nullptr, L"After", d);
    after->Make<TButton>(L"Button1", after.get(), L"B", 0, 0)->SetHint(L"second");
    EXPECT_EQ(HintPauseOf(*after), 7000);
    App().SetHintHidePause(2500);
    EXPECT_EQ(HintPauseOf(*before), 2500);
    EXPECT_EQ(HintPauseOf(*after), 2500);
}
