#include "forms/ProgressBar.h"

#include <windows.h>

#include "FormsTestSupport.h"
#include "forms/Exceptions.h"
#include "forms/Form.h"

TEST_F(FormsTest, AProgressBarKeepsItsPositionInRangeAndRefusesAnInvertedRange) {
    auto form = CreateForm<TForm>(nullptr, L"BarForm", TFormDesign{});
    auto* bar = form->Make<TProgressBar>(L"ProgressBar1", form.get(), 10, 10, 100, 16);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    bar->SetMax(30);
    bar->SetPosition(12);
    EXPECT_EQ(bar->Position(), 12);
    bar->SetPosition(31);
    EXPECT_EQ(bar->Position(), 30);
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_THROW(bar->SetRange(5, -1), Exception);
    EXPECT_EQ(bar->Max(), 30);
    bar->SetPosition(20);
    EXPECT_EQ(bar->Position(), 20);
}
