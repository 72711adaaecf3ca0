// The tray menu with the side bar: measuring adds the bar's width and builds its height,
// drawing paints each item's slice of the gradient and the upward text right of which the
// items stand, and a real pop-up runs the chosen item's action.
#include "shell/components/BarPopupMenu.h"

#include <windows.h>

#include <string>
#include <vector>

#include "forms/Actions.h"
#include "forms/Form.h"
#include "forms/Graphics.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"

namespace {
constexpr COLORREF kPaper = RGB(10, 200, 10); // what lies under the menu before drawing

TFormDesign HostDesign() {
    TFormDesign d;
    d.Caption = L"Bar menu host";
    d.Left = 100;
    d.Top = 100;
    return d;
}

// The open menu, seen from a timer of the menu's own loop.
HWND menuWindow = nullptr;
bool sawBar = false;
TBarPopupMenu* shown = nullptr;

// Once the menu shows, its bar is complete; then the second item is chosen by keys.
void CALLBACK ChooseSecondItem(HWND, UINT, UINT_PTR, DWORD) {
    HWND found = FindWindowW(L"#32768", nullptr);
    if (!found || !IsWindowVisible(found) || found == menuWindow)
        return;
    menuWindow = found;
    UpdateWindow(found);
    sawBar = shown->BarDone() && shown->BarHeight() > 0;
    for (const WPARAM key : {WPARAM{VK_DOWN}, WPARAM{VK_DOWN}, WPARAM{VK_RETURN}}) {
        PostMessageW(found, WM_KEYDOWN, key, 0);
        PostMessageW(found, WM_KEYUP, key, 0);
    }
}
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

class BarPopupMenuTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        host = CreateForm<TForm>(nullptr, L"BarHost", HostDesign());
        menu = host->Make<TBarPopupMenu>(L"BarPopupMenu1");
        for (const wchar_t* caption : {L"First", L"Second", L"Third"}) {
            TAction* action = host->Make<TAction>(std::wstring(L"ac") + caption, L"", caption);
            action->OnExecute = [this, caption](TObject*) { ran.push_back(caption); };
            menu->Items()->AddAction(action);
        }
        canvas = TBitmap(120, 200, TPixelFormat::pf24bit);
        RECT all{0, 0, 120, 200};
        const TGdiObject paper(CreateSolidBrush(kPaper));
        FillRect(canvas.Canvas(), &all, static_cast<HBRUSH>(paper.Get()));
    }
    void TearDown() override {
        host.reset();
        FormsTest::TearDown();
    }
    TMenuItem* Item(std::size_t i) const { return menu->Items()->Items()[i]; }
    // Measures the first-level items at 20 rows each, as the menu would before it opens.
    void MeasureAll(int rows = 20) {
        for (TMenuItem* item : menu->Items()->Items()) {
            int width = 100;
            int height = rows;
            item->OnMeasureItem(item, canvas.Canvas(), width, height);
            widths.push_back(width);
        }
    }
    void Draw(std::size_t i, int top, int bottom) {
        Item(i)->OnAdvancedDrawItem(Item(i), canvas.Canvas(), RECT{0, top, 120, bottom}, 0);
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(canvas.Canvas(), x, y); }
    // Whether some pixel of the rectangle has the colour.
    bool AnyPixel(RECT r, COLORREF color) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (Pixel(x, y) == color)
                    return true;
        return false;
    }

    TFormPtr<TForm> host;
    TBarPopupMenu* menu = nullptr;
    TBitmap canvas;
    std::vector<int> widths;
    std::vector<std::wstring> ran;
};

} // namespace

TEST_F(BarPopupMenuTest, MeasuringWidensEveryItemByTheBarAndCountsVisibleItemsButHashOnes) {
    menu->Items()->AddSeparator();
    menu->Items()->Add(host->Make<TMenuItem>(L"Hidden", L"#"));
    menu->PreparePopup();
    MeasureAll();
    EXPECT_EQ(widths, (std::vector<int>{131, 131, 131, 131, 131}));
    // Three items and the separator; the "#" item adds nothing.
    EXPECT_EQ(menu->BarHeight(), 80);

    // Each pop-up starts a new bar.
    menu->PreparePopup();
    EXPECT_EQ(menu->BarHeight(), 0);
    EXPECT_FALSE(menu->BarDone());

    menu->BarVisible = false;
    widths.clear();
    MeasureAll();
    EXPECT_EQ(widths, (std::vector<int>{100, 100, 100, 100, 100}));
    EXPECT_EQ(menu->BarHeight(), 0);
}

TEST_F(BarPopupMenuTest, DrawingPaintsTheGradientSliceByItemWithTheTextAndLeavesTheItemsRightOfTheBar) {
    menu->VerticalText = L"TOLVEX TOLVEX TOLVEX";
    menu->PreparePopup();
    MeasureAll(); // bar height 60
    Draw(0, 0, 20);
    EXPECT_FALSE(menu->BarDone());
    Draw(1, 20, 40);
    Draw(2, 40, 60);
    EXPECT_TRUE(menu->BarDone());
    // Blue at the top, falling to black at row 60: row 30 has 255 - 255 * 30 / 60 = 128.
    EXPECT_EQ(Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(0, 30), RGB(0, 0, 128));
    EXPECT_EQ(Pixel(28, 59), RGB(0, 0, 5)); // 255 - 15045 / 60: -250.75 cut to -250
    // The bar is BarWidth - 2 wide; the items start right of the whole bar width.
    EXPECT_EQ(Pixel(29, 10), kPaper);
    EXPECT_EQ(Pixel(30, 10), kPaper);
    EXPECT_EQ(Pixel(31, 10), GetSysColor(COLOR_MENU));
    // White text in the bar, on every slice, since the text is longer than the bar.
    for (const RECT slice : {RECT{1, 0, 28, 20}, RECT{1, 20, 28, 40}, RECT{1, 40, 28, 60}})
        EXPECT_TRUE(AnyPixel(slice, RGB(255, 255, 255))) << slice.top;
    // Redrawn once the bar is done, an item repaints only its own area.
    RECT bar{0, 0, 29, 20};
    const TGdiObject paper(CreateSolidBrush(kPaper));
    FillRect(canvas.Canvas(), &bar, static_cast<HBRUSH>(paper.Get()));
    Draw(0, 0, 20);
    EXPECT_EQ(Pixel(0, 0), kPaper);
}

TEST_F(BarPopupMenuTest, EqualColoursFillOneColourAndHashItemsDrawNothing) {
    menu->GradientStart = 0x00336699;
    menu->GradientEnd = 0x00336699;
    menu->VerticalText.clear();
    menu->Items()->Add(host->Make<TMenuItem>(L"Hidden", L"#"));
    menu->PreparePopup();
    MeasureAll();
    Draw(0, 0, 20);
    Draw(1, 20, 40);
    Draw(2, 40, 60);
    Draw(3, 60, 80);
    EXPECT_EQ(Pixel(0, 0), static_cast<COLORREF>(0x336699));
    EXPECT_EQ(Pixel(27, 59), static_cast<COLORREF>(0x336699));
    EXPECT_EQ(Pixel(0, 65), kPaper);
    EXPECT_EQ(Pixel(60, 65), kPaper);
}

TEST_F(BarPopupMenuTest, SystemColoursArePaintedAsTheSystemsCurrentColours) {
    // A colour value with the high bit set names a system colour by its index.
    const auto system = [](int index) {
        return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index));
    };
    menu->GradientStart = system(COLOR_HIGHLIGHT);
    menu->GradientEnd = system(COLOR_HIGHLIGHT);
    menu->VerticalText.clear();
    menu->PreparePopup();
    MeasureAll(); // bar height 60
    Draw(0, 0, 20);
    EXPECT_EQ(Pixel(0, 10), GetSysColor(COLOR_HIGHLIGHT));

    // A gradient runs between the two resolved colours, from the top to row 60.
    menu->GradientEnd = 0;
    menu->PreparePopup();
    widths.clear();
    MeasureAll();
    Draw(0, 0, 20);
    Draw(1, 20, 40);
    Draw(2, 40, 60);
    const COLORREF top = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(Pixel(0, 0), top);
    EXPECT_EQ(Pixel(0, 30),
              RGB(GetRValue(top) - GetRValue(top) * 30 / 60, GetGValue(top) - GetGValue(top) * 30 / 60,
                  GetBValue(top) - GetBValue(top) * 30 / 60));
}

TEST_F(BarPopupMenuTest, ThePictureSitsAtTheFootOfTheBarWithoutItsTransparentColour) {
    TBitmap picture(10, 8, TPixelFormat::pf24bit);
    RECT all{0, 0, 10, 8};
    const TGdiObject red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(picture.Canvas(), &all, static_cast<HBRUSH>(red.Get()));
    SetPixel(picture.Canvas(), 0, 7, RGB(0, 255, 0)); // the transparent colour
    menu->SetBitmap(picture);
    EXPECT_TRUE(menu->Transparent());
    menu->BitmapOffsetX = 2;
    menu->VerticalText.clear();
    menu->PreparePopup();
    MeasureAll();
    Draw(0, 0, 20);
    Draw(1, 20, 40);
    Draw(2, 40, 60);
    // At (2, 60 - 8) to (12, 60).
    EXPECT_EQ(Pixel(3, 52), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(11, 59), RGB(255, 0, 0));
    EXPECT_NE(Pixel(2, 59), RGB(0, 255, 0));
    EXPECT_NE(Pixel(1, 55), RGB(255, 0, 0));
    EXPECT_NE(Pixel(3, 51), RGB(255, 0, 0));
}

TEST_F(BarPopupMenuTest, TheOpenMenuMeasuresAndDrawsItsBarAndRunsTheChosenItemsAction) {
    host->Show();
    PumpPending();
    menuWindow = nullptr;
    sawBar = false;
    shown = menu;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, ChooseSecondItem);
    // A menu left open is closed after a while, so that a failure cannot hang the test.
    const UINT_PTR guard = SetTimer(nullptr, 0, deadlines::kStateTicks, CloseMenu);
    menu->Popup(150, 150);
    KillTimer(nullptr, timer);
    KillTimer(nullptr, guard);
    EXPECT_TRUE(menuWindow != nullptr);
    EXPECT_TRUE(sawBar);
    EXPECT_EQ(ran, (std::vector<std::wstring>{L"Second"}));
}

TEST(TrayMenu, TheMainWindowsTrayMenuHasTheSideBarAndKeepsItsItems) {
    auto form = CreateForm<TMainForm>();
    form->OnActivate = nullptr;
    TBarPopupMenu* tray = form->BarPopupMenu1;
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(tray->OwnerDraw);
    EXPECT_EQ(tray->BarWidth, 31);
    EXPECT_EQ(tray->VerticalFont.Height, -19);
    EXPECT_FALSE(tray->VerticalText.empty());
    std::vector<TAction*> actions;
    for (TMenuItem* item : tray->Items()->Items())
        actions.push_back(item->Action());
    const std::vector<TAction*> expected{form->acCaptureControl,
                                         form->acCaptureWindow,
                                         form->acCaptureRegion,
                                         form->acCaptureRect,
                                         form->acCaptureScreen,
                                         form->acCaptureDualScreen,
                                         form->acCaptureContinuity,
                                         form->acCaptureIcon,
                                         form->acCaptureRecapture,
                                         nullptr,
                                         form->acShow,
                                         form->acHide,
                                         nullptr,
                                         nullptr,
                                         form->acToolOption,
                                         nullptr,
                                         form->acHelp,
                                         form->acQnA,
                                         form->acDonate,
                                         form->acAbout,
                                         nullptr,
                                         form->acFileExit};
    EXPECT_EQ(actions, expected);
}
