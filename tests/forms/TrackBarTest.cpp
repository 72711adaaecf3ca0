#include "forms/TrackBar.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "FormsTestSupport.h"
#include "forms/Form.h"

TEST_F(FormsTest, ATrackBarRaisesItsChangeOnlyWhenThePositionMovesFromCodeOrKeys) {
    auto form = CreateForm<TForm>(nullptr, L"TrackForm", TFormDesign{});
    auto* bar = form->Make<TTrackBar>(L"TrackBar1", form.get(), 10, 10, 200);
    std::vector<int> seen;
    bar->OnChange = [&](TObject*) { seen.push_back(bar->Position()); };
    // The design order of a dialog: minimum, maximum, then position.
    bar->SetMin(-100);
    bar->SetMax(100);
    bar->SetPosition(0);
    EXPECT_TRUE(seen.empty());
    bar->SetMin(0);
    bar->SetMax(500);
    bar->SetPosition(100);
    EXPECT_EQ(seen, (std::vector<int>{100}));
    bar->SetPosition(900);
    EXPECT_EQ(bar->Position(), 500);
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETPOS, 0, 0), 500);
    // Narrowing the range pulls the position in, with a change.
    bar->SetMax(255);
    EXPECT_EQ(bar->Position(), 255);
    EXPECT_EQ(seen, (std::vector<int>{100, 500, 255}));
    // A key moves the thumb inside the control; the change reaches the event.
    SendMessageW(bar->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(bar->Position(), 254);
    EXPECT_EQ(seen.back(), 254);
}
