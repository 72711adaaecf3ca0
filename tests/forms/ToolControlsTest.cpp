// The controls of the tool window: grouped flat buttons, the slider, the collapsible bar,
// the colour swatch and the thumbnail view's stretching.
#include <windows.h>

#include "FormsTestSupport.h"
#include "forms/CollapsibleBar.h"
#include "forms/FlatSpeedButton.h"
#include "forms/Form.h"
#include "forms/Shape.h"
#include "forms/Slider.h"
#include "forms/ThumbView.h"

namespace {
TFormDesign PlainDesign() {
    TFormDesign d;
    d.Caption = L"Controls";
    d.Width = 300;
    d.Height = 300;
    return d;
}

class TControlsForm : public TForm {
public:
    TControlsForm() : TForm(nullptr, L"ControlsForm", PlainDesign()) {}
};

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}
} // namespace

TEST_F(FormsTest, GroupedFlatButtonsStayDownOneAtATimeAndCodeRaisesNoClick) {
    auto form = CreateForm<TControlsForm>();
    auto* a = form->Make<TFlatSpeedButton>(L"A", form.get());
    auto* b = form->Make<TFlatSpeedButton>(L"B", form.get());
    auto* other = form->Make<TFlatSpeedButton>(L"Other", form.get());
    for (TFlatSpeedButton* x : {a, b})
        x->SetGroupIndex(1);
    other->SetGroupIndex(2);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    a->SetDown(true);
    other->SetDown(true);
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(other->Down()); // another group is left alone
    EXPECT_EQ(SendMessageW(b->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    a->SetDown(true);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
    // A second click on a pressed grouped button keeps it pressed.
    SendMessageW(a->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(a->Down());
}

TEST_F(FormsTest, TheSliderClampsStepsAndRaisesItsChangeOnlyOnARealChange) {
    auto form = CreateForm<TControlsForm>();
    auto* s = form->Make<TSlider>(L"Slider", form.get());
    s->SetBounds(0, 0, 112, 32); // a track of 100 pixels between the 6-pixel margins
    s->SetRange(25, 1000, 25);
    int changes = 0;
    s->OnChange = [&](TObject*) { ++changes; };
    s->SetValue(100);
    EXPECT_EQ(changes, 1);
    s->SetValue(100);
    EXPECT_EQ(changes, 1);
    s->SetValue(-7);
    EXPECT_EQ(s->Value(), 25);
    s->SetValue(99999);
    EXPECT_EQ(s->Value(), 1000);
    EXPECT_EQ(changes, 3);
    // Half way along the track: 25 + 975 / 2 = 512, on the nearest step from 25: 500.
    SendMessageW(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(56, 10));
    SendMessageW(s->Handle(), WM_LBUTTONUP, 0, Point(56, 10));
    EXPECT_EQ(s->Value(), 500);
    SendMessageW(s->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(s->Value(), 525);
    // Past the ends the track gives its ends.
    SendMessageW(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 10));
    SendMessageW(s->Handle(), WM_LBUTTONUP, 0, Point(0, 10));
    EXPECT_EQ(s->Value(), 25);
    // A range set later pulls the value in without an event.
    const int before = changes;
    s->SetRange(100, 200, 1);
    EXPECT_EQ(s->Value(), 100);
    EXPECT_EQ(changes, before);
}

TEST_F(FormsTest, ACollapsibleBarFoldsToItsHeaderByAClickOnTheHeaderOnly) {
    auto form = CreateForm<TControlsForm>();
    auto* bar = form->Make<TCollapsibleBar>(L"Bar", form.get(), L"Pen", 64);
    int changes = 0;
    bar->OnCollapsedChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(bar->Height(), 64);
    EXPECT_EQ(bar->Caption(), L"Pen");
    SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 40)); // below the header
    SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, Point(10, 40));
    EXPECT_FALSE(bar->Collapsed());
    SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 5));
    SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, Point(10, 5));
    EXPECT_TRUE(bar->Collapsed());
    EXPECT_EQ(bar->Height(), TCollapsibleBar::kHeaderHeight);
    bar->SetCollapsed(false);
    EXPECT_EQ(bar->Height(), 64);
    EXPECT_EQ(changes, 2);
}

TEST_F(FormsTest, ASwatchReportsThePressesOfEveryButton) {
    auto form = CreateForm<TControlsForm>();
    auto* shape = form->Make<TShape>(L"Swatch", form.get());
    std::vector<TMouseButton> presses;
    shape->OnMouseDown = [&](TObject*, TMouseButton b, int, int) { presses.push_back(b); };
    SendMessageW(shape->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, Point(3, 3));
    SendMessageW(shape->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3));
    SendMessageW(shape->Handle(), WM_LBUTTONUP, 0, Point(3, 3));
    EXPECT_EQ(presses, (std::vector<TMouseButton>{TMouseButton::Right, TMouseButton::Left}));
}

TEST(ThumbViewStretch, APictureIsStretchedToItsSquareFrameByNearestSamples) {
    // A 2 x 1 picture, red then blue, stretched to 4 x 4: two columns of each.
    TBitmap32 source(2, 1);
    source.SetPixel(0, 0, Color32(255, 0, 0));
    source.SetPixel(1, 0, Color32(0, 0, 255));
    const TBitmap32 out = StretchToSquare(source, 4);
    ASSERT_EQ(out.Width(), 4);
    ASSERT_EQ(out.Height(), 4);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(out.Pixel(0, y), Color32(255, 0, 0));
        EXPECT_EQ(out.Pixel(1, y), Color32(255, 0, 0));
        EXPECT_EQ(out.Pixel(2, y), Color32(0, 0, 255));
        EXPECT_EQ(out.Pixel(3, y), Color32(0, 0, 255));
    }
    EXPECT_EQ(StretchToSquare(TBitmap32(), 3).Pixel(2, 2), 0u);
}
