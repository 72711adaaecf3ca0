#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "forms/Handles.h"
#include "shell/components/OpenURL.h"
#include "shell/components/SImagePanel.h"
#include "shell/components/SPanel.h"
#include "shell/components/SSpeedLabel.h"
#include "shell/components/SURLImage.h"
#include "shell/components/SURLLabel.h"
#include "tests/forms/FormsTestSupport.h"

namespace {

TFormDesign Design() {
    TFormDesign d;
    d.Caption = L"Components";
    d.Left = 100;
    d.Top = 80;
    d.Width = 320;
    d.Height = 240;
    return d;
}

class TComponentsForm : public TForm {
public:
    TComponentsForm() : TForm(nullptr, L"ComponentsForm", Design()) {}
};

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}
void Move(const TWindow* w, int x, int y) {
    SendMessageW(w->Handle(), WM_MOUSEMOVE, 0, Point(x, y));
}
void Down(const TWindow* w, int x, int y, UINT msg = WM_LBUTTONDOWN) {
    SendMessageW(w->Handle(), msg, MK_LBUTTON, Point(x, y));
}
void Up(const TWindow* w, int x, int y, UINT msg = WM_LBUTTONUP) {
    SendMessageW(w->Handle(), msg, 0, Point(x, y));
}

// A 32-bit top-down bitmap of one colour, drawn into through its pixels.
class TTestBitmap {
public:
    TTestBitmap(int width, int height, COLORREF color = RGB(0, 0, 0)) : width_(width), height_(height) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        dc_.Reset(CreateCompatibleDC(nullptr));
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        TGdiObject brush(CreateSolidBrush(color));
        const RECT all{0, 0, width, height};
        FillRect(dc_.Get(), &all, static_cast<HBRUSH>(brush.Get()));
    }
    ~TTestBitmap() { SelectObject(dc_.Get(), old_); }
    HDC DC() const { return dc_.Get(); }
    HBITMAP Handle() const { return static_cast<HBITMAP>(bitmap_.Get()); }
    // The colour of a pixel as a colour value (0x00BBGGRR).
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        const std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    TPicture Picture() const {
        TPicture picture;
        picture.SetBitmap(Handle());
        return picture;
    }

private:
    int width_;
    int height_;
    TGdiObject bitmap_;
    TMemDC dc_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

class SComponentsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = CreateForm<TComponentsForm>();
        OpenURLHook = [this](HWND owner, const std::wstring& url) {
            trace.push_back(L"open " + url);
            openedBy = owner;
        };
    }
    void TearDown() override {
        OpenURLHook = nullptr;
        form.reset();
        FormsTest::TearDown();
    }
    // Records the named event into the trace.
    TNotifyEvent Record(const std::wstring& what) {
        return [this, what](TObject*) { trace.push_back(what); };
    }

    TFormPtr<TComponentsForm> form;
    std::vector<std::wstring> trace;
    HWND openedBy = nullptr;
};

using Trace = std::vector<std::wstring>;
constexpr TColor kRed = 255;
constexpr TColor kBlue = 16711680;

} // namespace

TEST_F(SComponentsTest, AHoverLabelColoursItsTextForPointerAndButton) {
    auto* label = form->Make<TSSpeedLabel>(L"SpeedLabel1", form.get(), L"Hover me");
    label->OnMouseEnter = Record(L"enter");
    label->OnMouseLeave = Record(L"leave");
    const TColor normal = label->NormalColor();
    EXPECT_EQ(label->FontColor(), normal);
    EXPECT_EQ(label->MouseDownColor(), kRed);
    EXPECT_EQ(label->MouseEnterColor(), kBlue);

    Move(label, 2, 2);
    EXPECT_EQ(label->FontColor(), kBlue);
    Move(label, 3, 2); // still inside: no second enter
    // Only the left button counts.
    Down(label, 3, 2, WM_RBUTTONDOWN);
    Up(label, 3, 2, WM_RBUTTONUP);
    EXPECT_EQ(label->FontColor(), kBlue);
    Down(label, 3, 2);
    EXPECT_EQ(label->FontColor(), kRed);
    // Pressed, moved off and released outside: red while held, then the normal colour.
    Move(label, -30, 2);
    EXPECT_EQ(label->FontColor(), kRed);
    Up(label, -30, 2);
    EXPECT_EQ(label->FontColor(), normal);
    EXPECT_EQ(GetCapture(), nullptr);
    // Released inside, the pointer is still over it.
    Move(label, 2, 2);
    Down(label, 2, 2);
    Up(label, 2, 2);
    EXPECT_EQ(label->FontColor(), kBlue);
    SendMessageW(label->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(label->FontColor(), normal);
    EXPECT_EQ(trace, (Trace{L"enter", L"leave", L"enter", L"leave"}));
    // Another window takes the mouse during a press: the pressed colour goes with it.
    Move(label, 2, 2);
    Down(label, 2, 2);
    SetCapture(form->Handle());
    ReleaseCapture();
    EXPECT_EQ(label->FontColor(), kBlue);

    label->SetNormalColor(0x00808080);
    EXPECT_EQ(label->FontColor(), 0x00808080);
}

TEST_F(SComponentsTest, ALinkLabelRunsItsClickFirstAndOpensItsAddressOnlyWhenItHasOne) {
    auto* label = form->Make<TSURLLabel>(L"URLLabel1", form.get(), L"Home page");
    label->OnClick = Record(L"click");
    EXPECT_EQ(label->Cursor(), nullptr);
    Down(label, 2, 2);
    Up(label, 2, 2);
    EXPECT_EQ(trace, (Trace{L"click"}));

    label->SetURL(L"https://www.tolvex.net/");
    EXPECT_EQ(label->Cursor(), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(SendMessageW(label->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label->Handle()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    trace.clear();
    Down(label, 2, 2);
    Up(label, 2, 2);
    EXPECT_EQ(trace, (Trace{L"click", L"open https://www.tolvex.net/"}));
    EXPECT_EQ(openedBy, form->Handle());

    // A release outside, or the second press of a double click, is no click.
    trace.clear();
    Down(label, 2, 2);
    Up(label, -5, 2);
    Down(label, 2, 2, WM_LBUTTONDBLCLK);
    Up(label, 2, 2);
    EXPECT_TRUE(trace.empty());

    label->SetURL(L"");
    EXPECT_EQ(label->Cursor(), nullptr);
}

TEST_F(SComponentsTest, ASwappingImageShowsItsEnterAndDownPicturesAndReturnsToTheLoadedOne) {
    const TTestBitmap normal(1, 1), enter(2, 2), down(3, 3), later(4, 4);
    auto* image = form->Make<TSSpeedImage>(L"SpeedImage1", form.get());
    image->SetBounds(0, 0, 40, 40);
    image->SetPicture(normal.Picture());
    image->Loaded();
    const TPicture enterPicture = enter.Picture();
    const TPicture downPicture = down.Picture();
    image->SetMouseEnterPicture(&enterPicture);
    image->SetMouseDownPicture(&downPicture);
    image->SetMouseDownPicture(nullptr); // a missing picture changes nothing
    image->OnMouseEnter = Record(L"enter");
    image->OnMouseLeave = Record(L"leave");

    Move(image, 5, 5);
    EXPECT_EQ(image->Picture().Width(), 2);
    Down(image, 5, 5);
    EXPECT_EQ(image->Picture().Width(), 3);
    // While held, leaving keeps the down picture; the release outside brings the normal one.
    Move(image, 60, 5);
    EXPECT_EQ(image->Picture().Width(), 3);
    Up(image, 60, 5);
    EXPECT_EQ(image->Picture().Width(), 1);
    // Released inside: the enter picture.
    Move(image, 5, 5);
    Down(image, 5, 5);
    Up(image, 5, 5);
    EXPECT_EQ(image->Picture().Width(), 2);
    Move(image, 60, 5);
    EXPECT_EQ(image->Picture().Width(), 1);
    EXPECT_EQ(trace, (Trace{L"enter", L"leave", L"enter", L"leave"}));
    // Another window takes the mouse during a press: the down picture goes with it.
    Move(image, 5, 5);
    Down(image, 5, 5);
    SetCapture(form->Handle());
    ReleaseCapture();
    EXPECT_EQ(image->Picture().Width(), 2);
    Move(image, 60, 5);

    // A picture given in code later is not the normal one: leaving brings back the loaded.
    image->SetPicture(later.Picture());
    Move(image, 5, 5);
    Move(image, 60, 5);
    EXPECT_EQ(image->Picture().Width(), 1);

    // Disabled, it still reports the pointer but swaps nothing.
    image->SetEnabled(false);
    trace.clear();
    Move(image, 5, 5);
    Down(image, 5, 5);
    EXPECT_EQ(image->Picture().Width(), 1);
    EXPECT_EQ(trace, (Trace{L"enter"}));
}

TEST_F(SComponentsTest, WithoutADownPictureAPressChangesNothingButHoverStillSwaps) {
    const TTestBitmap normal(1, 1), enter(2, 2);
    auto* image = form->Make<TSSpeedImage>(L"SpeedImage1", form.get());
    image->SetBounds(0, 0, 40, 40);
    image->SetPicture(normal.Picture());
    image->Loaded();
    const TPicture enterPicture = enter.Picture();
    image->SetMouseEnterPicture(&enterPicture);

    Move(image, 5, 5);
    Down(image, 5, 5);
    EXPECT_EQ(image->Picture().Width(), 2);
    Up(image, 5, 5);
    EXPECT_EQ(image->Picture().Width(), 2);
    SendMessageW(image->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(image->Picture().Width(), 1);
}

TEST_F(SComponentsTest, ALinkImageOpensItsAddressAfterItsClick) {
    auto* image = form->Make<TSURLImage>(L"URLImage1", form.get());
    image->SetBounds(0, 0, 40, 40);
    image->OnClick = Record(L"click");
    image->SetURL(L"https://www.tolvex.net/helper.php?go=donate&product=tolvex");
    EXPECT_EQ(image->Cursor(), LoadCursorW(nullptr, IDC_HAND));
    Down(image, 5, 5);
    Up(image, 5, 5);
    EXPECT_EQ(trace, (Trace{L"click", L"open https://www.tolvex.net/helper.php?go=donate&product=tolvex"}));
    image->SetURL(L"");
    EXPECT_EQ(image->Cursor(), nullptr);
}

TEST_F(SComponentsTest, APanelDragsTheFormThatIsItsDirectParentOnly) {
    auto* panel = form->Make<TSPanel>(L"Panel1", form.get());
    panel->SetBounds(0, 0, 120, 60);
    auto* inner = form->Make<TSPanel>(L"Panel2", panel);
    inner->SetBounds(10, 10, 40, 30);
    const auto formPos = [&] {
        RECT r{};
        GetWindowRect(form->Handle(), &r);
        return POINT{r.left, r.top};
    };
    const POINT start = formPos();

    // Not switched on: nothing moves.
    Down(panel, 10, 10);
    Move(panel, 30, 30);
    Up(panel, 30, 30);
    EXPECT_EQ(formPos().x, start.x);

    panel->DragForm = true;
    Down(panel, 10, 10);
    Move(panel, 15, 17);
    EXPECT_EQ(formPos().x, start.x + 5);
    EXPECT_EQ(formPos().y, start.y + 7);
    Up(panel, 15, 17);
    Move(panel, 40, 40); // released: no more dragging
    EXPECT_EQ(formPos().x, start.x + 5);
    // The right button does not drag.
    Down(panel, 10, 10, WM_RBUTTONDOWN);
    Move(panel, 40, 40);
    EXPECT_EQ(formPos().x, start.x + 5);
    Up(panel, 40, 40, WM_RBUTTONUP);

    // A panel inside another panel has no form as its parent.
    inner->DragForm = true;
    Down(inner, 5, 5);
    Move(inner, 25, 25);
    Up(inner, 25, 25);
    EXPECT_EQ(formPos().x, start.x + 5);
    EXPECT_EQ(formPos().y, start.y + 7);

    // Another window takes the mouse mid-drag: the form stays where the drag had put it.
    Down(panel, 10, 10);
    Move(panel, 12, 13);
    SetCapture(inner->Handle());
    ReleaseCapture();
    Move(panel, 40, 40);
    EXPECT_EQ(formPos().x, start.x + 7);
    EXPECT_EQ(formPos().y, start.y + 10);
}

TEST_F(SComponentsTest, APanelReportsThePointerAndNeverLetsTheSystemEraseIt) {
    auto* panel = form->Make<TSPanel>(L"Panel1", form.get());
    panel->SetBounds(0, 0, 50, 50);
    panel->OnMouseEnter = Record(L"enter");
    panel->OnMouseLeave = Record(L"leave");
    panel->OnClick = Record(L"click");
    Move(panel, 5, 5);
    Down(panel, 5, 5);
    Up(panel, 5, 5);
    SendMessageW(panel->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(trace, (Trace{L"enter", L"click", L"leave"}));

    for (const bool erase : {true, false}) {
        panel->EraseBkgnd = erase;
        const TTestBitmap target(50, 50, RGB(1, 2, 3));
        EXPECT_EQ(SendMessageW(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), 0), 0);
        EXPECT_EQ(target.Pixel(25, 25), RGB(1, 2, 3));
    }
}

TEST_F(SComponentsTest, APicturePanelStretchesItsPictureUnderTheCaptionOrLooksLikeAPlainPanel) {
    auto* panel = form->Make<TSImagePanel>(L"ImagePanel1", form.get());
    panel->SetBounds(0, 0, 60, 30);
    const auto paint = [&](const TTestBitmap& target) {
        SendMessageW(panel->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.DC()), PRF_CLIENT);
    };
    {
        const TTestBitmap plain(60, 30, RGB(1, 2, 3));
        paint(plain);
        EXPECT_EQ(plain.Pixel(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT)); // the raised bevel
        EXPECT_EQ(plain.Pixel(30, 2), GetSysColor(COLOR_BTNFACE));
    }
    const TTestBitmap red(1, 1, RGB(255, 0, 0));
    const TPicture redPicture = red.Picture();
    panel->SetPicture(&redPicture);
    panel->SetCaption(L"WWW");
    const TTestBitmap face(60, 30, RGB(1, 2, 3));
    paint(face);
    // Stretched over the whole face without a bevel; the caption sits in the middle rows.
    int captionPixels = 0;
    for (int x = 0; x < 60; ++x) {
        EXPECT_EQ(face.Pixel(x, 0), RGB(255, 0, 0));
        EXPECT_EQ(face.Pixel(x, 29), RGB(255, 0, 0));
        captionPixels += face.Pixel(x, 15) != RGB(255, 0, 0) ? 1 : 0;
    }
    EXPECT_GT(captionPixels, 0);
}

TEST_F(SComponentsTest, APicturePanelWithAutoSizeTakesThePictureSize) {
    auto* panel = form->Make<TSImagePanel>(L"ImagePanel1", form.get());
    panel->SetBounds(7, 9, 60, 30);
    const TTestBitmap small(3, 2), large(5, 5);
    const TPicture smallPicture = small.Picture();
    const TPicture largePicture = large.Picture();
    panel->SetPicture(&smallPicture);
    EXPECT_EQ(panel->Width(), 60); // AutoSize is off at first
    panel->SetAutoSize(true);
    EXPECT_EQ(panel->Width(), 3);
    EXPECT_EQ(panel->Height(), 2);
    EXPECT_EQ(panel->BoundsRect().left, 7);
    EXPECT_EQ(panel->BoundsRect().top, 9);
    panel->SetPicture(nullptr); // ignored
    EXPECT_EQ(panel->Picture().Width(), 3);
    panel->SetAutoSize(false);
    panel->SetPicture(&largePicture);
    EXPECT_EQ(panel->Width(), 3);
    panel->SetAutoSize(true);
    EXPECT_EQ(panel->Width(), 5);
}
