#include "forms/ImgView32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "FormsTestSupport.h"
#include "forms/Form.h"
#include "forms/Handles.h"

namespace {
TFormDesign ViewFormDesign() {
    TFormDesign d;
    d.Caption = L"Image view";
    d.Width = 320;
    d.Height = 260;
    return d;
}

// A form holding one image view, as a document window will.
class TViewForm : public TForm {
public:
    TViewForm() : TForm(nullptr, L"ViewForm", ViewFormDesign()) {
        View = Make<TImgView32>(L"ImgView32", this);
        View->SetBounds(0, 0, 180, 140);
    }
    TImgView32* View = nullptr;
};

// The view's client area as it paints into a memory device context.
class TViewShot {
public:
    explicit TViewShot(TImgView32& view) {
        const TRect vp = view.GetViewportRect();
        width_ = vp.Width();
        height_ = vp.Height();
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width_;
        bi.bmiHeader.biHeight = -height_;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bmp);
        SendMessageW(view.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* px = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(px, px + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    // The colour at (x, y) without its alpha byte.
    std::uint32_t At(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                       static_cast<std::size_t>(x)] &
               0xFFFFFFu;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGrey = 0xB0B0B0;
constexpr std::uint32_t kWhite = 0xFFFFFF;
} // namespace

class ImgView32Test : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = CreateForm<TViewForm>();
        view = form->View;
        view->SetBitmapAlign(TBitmapAlign::Custom);
    }
    TFormPtr<TViewForm> form;
    TImgView32* view = nullptr;
};

TEST_F(ImgView32Test, ViewPointsMapToImagePointsAtScalesOneTwoAndHalfWithScrolling) {
    const TRect vp = view->GetViewportRect();
    ASSERT_GT(vp.Width(), 100);
    ASSERT_GT(vp.Height(), 80);
    view->SetBitmap(TBitmap32(600, 400, 0xFF000000));

    view->Scroll(30, 10);
    EXPECT_EQ(view->ScrollPosition(), (TPoint{30, 10}));
    EXPECT_EQ(view->ControlToBitmap({0, 0}), (TPoint{30, 10}));
    EXPECT_EQ(view->BitmapToControl({40, 15}), (TPoint{10, 5}));
    EXPECT_EQ(GetScrollPos(view->Handle(), SB_HORZ), 30);

    // At scale 2 the same scroll position shows image point 15, 5 in the corner.
    view->SetScale(2);
    EXPECT_EQ(view->ControlToBitmap({0, 0}), (TPoint{15, 5}));
    EXPECT_EQ(view->ControlToBitmap({3, 3}), (TPoint{16, 6}));
    EXPECT_EQ(view->BitmapToControl({20, 10}), (TPoint{10, 10}));

    // At half scale the image is 300 x 200 view pixels; scrolling past the end stops there.
    view->SetScale(0.5);
    view->Scroll(1000, 1000);
    const TPoint end{300 - vp.Width(), 200 - vp.Height()};
    EXPECT_EQ(view->ScrollPosition(), end);
    EXPECT_EQ(view->ControlToBitmap({1, 1}), (TPoint{(end.X + 1) * 2, (end.Y + 1) * 2}));
    EXPECT_EQ(view->BitmapToControl({(end.X + 4) * 2, 0}), (TPoint{4, -end.Y}));
    view->Scroll(-5000, -5000);
    EXPECT_EQ(view->ScrollPosition(), (TPoint{0, 0}));
}

TEST_F(ImgView32Test, ASmallImageIsCentredOnlyWhenAskedAndScalesAreKeptInRange) {
    view->SetBitmap(TBitmap32(20, 10, 0xFF000000));
    const TRect vp = view->GetViewportRect();
    view->Scroll(10, 10);
    EXPECT_EQ(view->ScrollPosition(), (TPoint{0, 0}));
    EXPECT_EQ(view->OffsetHorz(), 0.0);
    view->SetBitmapAlign(TBitmapAlign::Center);
    EXPECT_EQ(view->OffsetHorz(), static_cast<double>((vp.Width() - 20) / 2));
    EXPECT_EQ(view->OffsetVert(), static_cast<double>((vp.Height() - 10) / 2));
    view->SetScale(0);
    EXPECT_EQ(view->Scale(), kMinViewScale);
}

TEST_F(ImgView32Test, ADrawnPixelLandsWhereTheMappingSays) {
    TBitmap32 image(100, 80, 0xFF0000FF);
    image.SetPixel(15, 9, 0xFFFF0000);
    view->SetBitmap(image);
    view->SetScale(2);
    view->Scroll(20, 10);
    const TPoint p = view->BitmapToControl({15, 9});
    ASSERT_EQ(p, (TPoint{10, 8}));
    {
        const TViewShot shot(*view);
        EXPECT_EQ(shot.At(10, 8), kRed);
        EXPECT_EQ(shot.At(11, 9), kRed);
        EXPECT_EQ(shot.At(9, 8), kBlue);
        EXPECT_EQ(shot.At(12, 8), kBlue);
        EXPECT_EQ(shot.At(10, 10), kBlue);
    }
    // At half scale every other image pixel shows: pixel 14, 8 stands for 14..15 x 8..9.
    view->SetScale(0.5);
    view->Scroll(-100, -100);
    const TViewShot half(*view);
    EXPECT_EQ(view->ControlToBitmap({7, 4}), (TPoint{14, 8}));
    EXPECT_EQ(half.At(7, 4), kBlue);
    image.SetPixel(14, 8, 0xFFFF0000);
    view->SetBitmap(image);
    EXPECT_EQ(TViewShot(*view).At(7, 4), kRed);
}

TEST_F(ImgView32Test, TheCheckerboardStageShowsUnderTransparentPixelsAndAroundTheImage) {
    // The document's way: the clearing stage becomes a custom stage painting the board.
    ASSERT_EQ(view->PaintStages()[0].Stage, PST_CLEAR_BACKGND);
    view->PaintStages()[0].Stage = PST_CUSTOM;
    int stageCalls = 0;
    view->OnPaintStage = [&](TObject*, TBitmap32&, unsigned stage) {
        ++stageCalls;
        EXPECT_EQ(stage, 0u);
        PaintCheckerboard(view->Buffer());
    };
    TBitmap32 image(24, 24, 0); // transparent
    image.SetPixel(0, 0, 0xFFFF0000);
    view->SetBitmap(image);
    view->SetBitmapDrawMode(TDrawMode::dmBlend);
    const TViewShot shot(*view);
    EXPECT_GE(stageCalls, 1);
    EXPECT_EQ(shot.At(0, 0), kRed);
    EXPECT_EQ(shot.At(1, 1), kGrey);
    EXPECT_EQ(shot.At(8, 0), kWhite);
    EXPECT_EQ(shot.At(8, 8), kGrey);
    EXPECT_EQ(shot.At(40, 0), kWhite); // beyond the image
    EXPECT_EQ(shot.At(40, 8), kGrey);
    // Drawn opaque, the transparent pixels hide the board.
    view->SetBitmapDrawMode(TDrawMode::dmOpaque);
    EXPECT_EQ(TViewShot(*view).At(8, 0), 0u);
}

TEST_F(ImgView32Test, TheFrameMovesAndResizesWithTheMouseAndItsChildFollows) {
    view->SetBitmap(TBitmap32(100, 100, 0xFF0000FF));
    view->SetScale(2);
    auto* picture = view->AddLayer<TBitmapLayer>();
    picture->Bitmap().SetSize(20, 10);
    picture->Bitmap().Clear(0xFFFF0000);
    picture->SetScaled(true);
    picture->SetLocation({10, 10, 30, 20});
    auto* band = view->AddLayer<TRubberbandLayer>();
    band->SetMinWidth(1);
    band->SetMinHeight(1);
    band->SetChildLayer(picture);
    band->SetLayerOptions(LOB_VISIBLE | LOB_MOUSE_EVENTS | LOB_NO_UPDATE);
    EXPECT_EQ(band->Location(), (TFloatRect{10, 10, 30, 20}));
    std::vector<TRBDragState> resizings;
    band->OnResizing = [&](TObject* sender, const TFloatRect&, TFloatRect&, TRBDragState state, TShiftState) {
        EXPECT_EQ(sender, band);
        resizings.push_back(state);
    };
    TCustomLayer* pressed = nullptr;
    view->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int, TCustomLayer* layer) {
        pressed = layer;
    };

    // Drag the inside by 10, 6 view pixels: 5, 3 image pixels at scale 2.
    const HWND wnd = view->Handle();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(40, 30));
    EXPECT_EQ(pressed, band);
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(50, 36));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(50, 36));
    EXPECT_EQ(band->Location(), (TFloatRect{15, 13, 35, 23}));
    EXPECT_EQ(picture->Location(), band->Location());
    // The picture is drawn at its new place: image 20, 17 is inside, 14, 25 outside.
    EXPECT_EQ(TViewShot(*view).At(40, 34), kRed);
    EXPECT_EQ(TViewShot(*view).At(29, 50), kBlue);

    // The bottom-right handle sits on the frame's last pixel (69, 45); dragging it far up
    // and left stops at the minimum size of one image pixel.
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(69, 45));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(-100, -100));
    EXPECT_EQ(band->DragState(), TRBDragState::dsSizeBR);
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(-100, -100));
    EXPECT_EQ(band->Location(), (TFloatRect{15, 13, 16, 14}));
    EXPECT_EQ(picture->Location(), band->Location());
    EXPECT_EQ(band->DragState(), TRBDragState::dsNone);
    EXPECT_EQ(resizings, (std::vector<TRBDragState>{TRBDragState::dsMove, TRBDragState::dsSizeBR}));

    // A press beside the frame reaches the view without a layer.
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(150, 120));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(150, 120));
    EXPECT_EQ(pressed, nullptr);
}

TEST_F(ImgView32Test, TheResizingHandlerDecidesTheNewLocationAndTheDefaultMinimumIsTen) {
    view->SetBitmap(TBitmap32(100, 100, 0xFF000000));
    auto* band = view->AddLayer<TRubberbandLayer>();
    band->SetLocation({20, 20, 60, 60});
    band->OnResizing = [](TObject*, const TFloatRect& old, TFloatRect& next, TRBDragState,
                          TShiftState shift) {
        // Keep the frame's centre while Ctrl is held.
        if (shift & ssCtrl)
            next = {old.Left - 5, old.Top - 5, old.Right + 5, old.Bottom + 5};
    };
    const HWND wnd = view->Handle();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(59, 40));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, At(70, 40));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(70, 40));
    EXPECT_EQ(band->Location(), (TFloatRect{15, 15, 65, 65}));
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(15, 40));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(90, 40));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(90, 40));
    EXPECT_EQ(band->Location(), (TFloatRect{55, 15, 65, 65}));
}

TEST_F(ImgView32Test, FreeingTheChildOrAllLayersLeavesNoDanglingLinks) {
    view->SetBitmap(TBitmap32(50, 50, 0xFF000000));
    auto* picture = view->AddLayer<TBitmapLayer>();
    picture->SetLocation({0, 0, 10, 10});
    auto* band = view->AddLayer<TRubberbandLayer>();
    band->SetChildLayer(picture);
    SendMessageW(view->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    view->DeleteLayer(picture);
    EXPECT_EQ(band->ChildLayer(), nullptr);
    band->SetLocation({1, 1, 20, 20}); // must not touch the freed child
    view->ClearLayers();
    // The release of the press that a freed layer took reaches only the view.
    int ups = 0;
    view->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int, TCustomLayer* layer) {
        ++ups;
        EXPECT_EQ(layer, nullptr);
    };
    SendMessageW(view->Handle(), WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(view->LayerCount(), 0u);
}

namespace {
// A picture layer that writes down the mouse events it receives.
class TListeningLayer : public TBitmapLayer {
public:
    using TBitmapLayer::TBitmapLayer;
    void MouseDown(TMouseButton, TShiftState, TPoint p) override { Events.push_back(L"down " + Xy(p)); }
    void MouseMove(TShiftState, TPoint p) override { Events.push_back(L"move " + Xy(p)); }
    void MouseUp(TMouseButton, TShiftState, TPoint p) override { Events.push_back(L"up " + Xy(p)); }
    std::vector<std::wstring> Events;

private:
    static std::wstring Xy(TPoint p) { return std::to_wstring(p.X) + L"," + std::to_wstring(p.Y); }
};
} // namespace

TEST_F(ImgView32Test, ALayerMadeTheMouseListenerTakesThePressFromTheFrameUntilTheRelease) {
    view->SetBitmap(TBitmap32(100, 100, 0xFF000000));
    auto* picture = view->AddLayer<TListeningLayer>();
    picture->SetLocation({20, 20, 60, 60});
    auto* band = view->AddLayer<TRubberbandLayer>();
    band->SetChildLayer(picture);
    // A double-click on the frame hands the mouse to the picture under it, as a re-edit does.
    view->OnDblClick = [&](TObject*) { picture->SetAsMouseListener(); };
    const HWND wnd = view->Handle();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(30, 30));
    SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(30, 30));
    EXPECT_EQ(view->MouseListener(), picture);
    EXPECT_EQ(band->DragState(), TRBDragState::dsNone);
    // The frame holds still while the mouse moves with the button down.
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(45, 38));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(45, 38));
    EXPECT_EQ(band->Location(), (TFloatRect{20, 20, 60, 60}));
    EXPECT_EQ(picture->Events, (std::vector<std::wstring>{L"move 45,38", L"up 45,38"}));
    EXPECT_EQ(view->MouseListener(), nullptr);

    // After the release the frame takes its presses again.
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(35, 30));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(35, 30));
    EXPECT_EQ(band->Location(), (TFloatRect{25, 20, 65, 60}));
    EXPECT_EQ(picture->Events.size(), 2u);

    // A listener freed in the middle of a press leaves no dangling link.
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30));
    picture->SetAsMouseListener();
    view->DeleteLayer(picture);
    EXPECT_EQ(view->MouseListener(), nullptr);
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(50, 50));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(50, 50));
}

TEST_F(ImgView32Test, PaintToMergesTheImageAndVisibleLayersAtImageScale) {
    TBitmap32 image(4, 4, 0xFF0000FF);
    view->SetBitmap(image);
    view->SetScale(3);
    auto* picture = view->AddLayer<TBitmapLayer>();
    picture->Bitmap().SetSize(1, 1);
    picture->Bitmap().Clear(0xFFFF0000);
    picture->SetDrawMode(TDrawMode::dmBlend);
    picture->SetMasterAlpha(128);
    picture->SetScaled(true);
    picture->SetLocation({1, 1, 3, 2});
    TBitmap32 merged(4, 4);
    view->PaintTo(merged, {0, 0, 4, 4});
    const TColor32 half = BlendPixel(0xFFFF0000, 0xFF0000FF, 128);
    EXPECT_EQ(merged.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(merged.Pixel(1, 1), half);
    EXPECT_EQ(merged.Pixel(2, 1), half);
    EXPECT_EQ(merged.Pixel(3, 1), 0xFF0000FFu);
    EXPECT_EQ(merged.Pixel(1, 2), 0xFF0000FFu);
}

TEST_F(ImgView32Test, ScrollBarsScrollTheViewAndRaiseTheChangeEvent) {
    view->SetBitmap(TBitmap32(400, 300, 0xFF000000));
    int changes = 0;
    view->OnChange = [&](TObject*) { ++changes; };
    const HWND wnd = view->Handle();
    SendMessageW(wnd, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(view->ScrollPosition(), (TPoint{16, 0}));
    SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
    const TRect vp = view->GetViewportRect();
    EXPECT_EQ(view->ScrollPosition(), (TPoint{16, 300 - vp.Height()}));
    EXPECT_EQ(GetScrollPos(wnd, SB_VERT), 300 - vp.Height());
    SendMessageW(wnd, WM_HSCROLL, SB_LINEUP, 0);
    SendMessageW(wnd, WM_HSCROLL, SB_LINEUP, 0); // already at the start: no change
    EXPECT_EQ(changes, 3);
    view->SetScale(2);
    EXPECT_EQ(changes, 4);
}

TEST_F(ImgView32Test, AFrameDragStaysUnderTheMouseWhileTheViewScrolls) {
    view->SetBitmap(TBitmap32(400, 300, 0xFF000000));
    auto* band = view->AddLayer<TRubberbandLayer>();
    band->SetScaled(true);
    band->SetLocation({20, 20, 60, 60});
    const HWND wnd = view->Handle();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(40, 40));
    view->Scroll(10, 0); // the mouse now lies over image point 50, 40
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(40, 40));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(40, 40));
    EXPECT_EQ(band->Location(), (TFloatRect{30, 20, 70, 60}));
}

TEST_F(ImgView32Test, DoubleClicksAndThePointerComingAndGoingReachTheView) {
    std::vector<std::wstring> events;
    view->OnDblClick = [&](TObject*) { events.push_back(L"dblclick"); };
    view->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int x, int y, TCustomLayer*) {
        events.push_back((shift & ssDouble) ? L"down double" : L"down");
        EXPECT_EQ(x, 7);
        EXPECT_EQ(y, 9);
    };
    view->OnMouseEnter = [&](TObject*) { events.push_back(L"enter"); };
    view->OnMouseLeave = [&](TObject*) { events.push_back(L"leave"); };
    const HWND wnd = view->Handle();
    SendMessageW(wnd, WM_MOUSEMOVE, 0, At(7, 9));
    SendMessageW(wnd, WM_MOUSEMOVE, 0, At(8, 9));
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(7, 9));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(7, 9));
    SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(7, 9));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(7, 9));
    SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    // During a drag the moves outside tell that the pointer left, and came back.
    SendMessageW(wnd, WM_MOUSEMOVE, 0, At(7, 9));
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, At(7, 9));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(-20, 9));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(7, 9));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(7, 9));
    EXPECT_EQ(events, (std::vector<std::wstring>{L"enter", L"down", L"dblclick", L"down double", L"leave",
                                                 L"enter", L"down", L"leave", L"enter"}));
}

TEST_F(ImgView32Test, TheSizeGripResizesTheFormAndIsGoneWhileTheFormIsMaximised) {
    ShowWindow(form->Handle(), SW_SHOWNORMAL);
    const HWND wnd = view->Handle();
    ASSERT_TRUE(view->SizeGripVisible());
    RECT window{};
    GetWindowRect(wnd, &window);
    const RECT grip = view->SizeGripRect();
    EXPECT_EQ(grip.right, window.right - window.left);
    EXPECT_EQ(grip.bottom, window.bottom - window.top);
    const LPARAM onGrip =
        MAKELPARAM(window.left + (grip.left + grip.right) / 2, window.top + (grip.top + grip.bottom) / 2);
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, onGrip), HTBOTTOMRIGHT);

    // The drag resizes the form by as much as the pointer moved; the view's own mouse
    // handlers never see it.
    int presses = 0;
    view->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int, TCustomLayer*) { ++presses; };
    view->OnMouseMove = [&](TObject*, TShiftState, int, int, TCustomLayer*) { ++presses; };
    RECT before{};
    GetWindowRect(form->Handle(), &before);
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, onGrip);
    POINT client{(grip.left + grip.right) / 2 + 30, (grip.top + grip.bottom) / 2 + 20};
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(client.x - 10, client.y - 10));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(client.x, client.y));
    RECT after{};
    GetWindowRect(form->Handle(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 30);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 20);
    EXPECT_EQ(presses, 0);
    EXPECT_NE(GetCapture(), wnd);
    // After the release, moves are the view's again and resize nothing.
    SendMessageW(wnd, WM_MOUSEMOVE, 0, At(5, 5));
    RECT still{};
    GetWindowRect(form->Handle(), &still);
    EXPECT_EQ(still.right, after.right);
    EXPECT_EQ(presses, 1);

    ShowWindow(form->Handle(), SW_MAXIMIZE);
    EXPECT_FALSE(view->SizeGripVisible());
    GetWindowRect(wnd, &window);
    const RECT corner = view->SizeGripRect();
    const LPARAM onCorner = MAKELPARAM(window.left + (corner.left + corner.right) / 2,
                                       window.top + (corner.top + corner.bottom) / 2);
    EXPECT_NE(SendMessageW(wnd, WM_NCHITTEST, 0, onCorner), HTBOTTOMRIGHT);
    GetWindowRect(form->Handle(), &before);
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, onCorner);
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(client.x + 40, client.y + 40));
    SendMessageW(wnd, WM_LBUTTONUP, 0, At(client.x + 40, client.y + 40));
    GetWindowRect(form->Handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    ShowWindow(form->Handle(), SW_RESTORE);
    EXPECT_TRUE(view->SizeGripVisible());
}

TEST_F(FormsTest, AViewOnAFormOfFixedSizeHasNoSizeGrip) {
    auto dialog =
        CreateForm<TForm>(static_cast<TForm*>(nullptr), L"FixedForm", DialogDesign(L"Fixed", 300, 200));
    auto* fixedView = dialog->Make<TImgView32>(L"Preview", dialog.get());
    fixedView->SetBounds(0, 0, 200, 150);
    ShowWindow(dialog->Handle(), SW_SHOWNORMAL);
    EXPECT_FALSE(fixedView->SizeGripVisible());
}
