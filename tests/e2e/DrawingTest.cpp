// Drawing in the real program with the real mouse: a picture opened through the Open
// dialog, a rectangle and an arrow with its shadow dragged, the rectangle filled, the
// picture saved, then one undo and a second save.
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "core/Bitmap32.h"
#include "forms/ImageCodecs.h"
#include "tests/support/PickerDriver.h"

using namespace e2e;
using picker_driver::SendKeys;

namespace {
// Moves the real pointer to a screen point, with the button events given; returns once the
// system has the pointer there, so the events of a drag come one after another as by hand.
void Mouse(POINT p, DWORD buttons = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((p.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>((p.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof(INPUT));
    WaitFor([&] {
        // The absolute position is scaled to 0..65535 and back: a pixel off is there.
        POINT at{};
        return GetCursorPos(&at) && std::abs(at.x - p.x) <= 1 && std::abs(at.y - p.y) <= 1;
    });
}

void Click(POINT p, bool right = false) {
    Mouse(p);
    Mouse(p, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Mouse(p, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

// A left drag from one point to another through a few points between.
void Drag(POINT from, POINT to) {
    Mouse(from);
    Mouse(from, MOUSEEVENTF_LEFTDOWN);
    for (int k = 1; k <= 4; ++k)
        Mouse({from.x + (to.x - from.x) * k / 4, from.y + (to.y - from.y) * k / 4});
    Mouse(to, MOUSEEVENTF_LEFTUP);
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t ch : text)
        for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = ch;
            in.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(in);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

POINT Centre(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct TChildSearch {
    std::function<bool(HWND)> Match;
    std::vector<HWND> Found;
};

BOOL CALLBACK AddMatchingChild(HWND wnd, LPARAM lp) {
    auto* s = reinterpret_cast<TChildSearch*>(lp);
    if (s->Match(wnd))
        s->Found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND root, std::function<bool(HWND)> match) {
    TChildSearch search{std::move(match), {}};
    EnumChildWindows(root, AddMatchingChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

std::wstring ClassOf(HWND wnd) {
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    return name;
}

std::wstring TextOf(HWND wnd) {
    wchar_t text[64] = {};
    GetWindowTextW(wnd, text, 64);
    return text;
}

// The visible square buttons of the tool window, top to bottom and left to right.
std::vector<HWND> SquareButtons(HWND toolWindow) {
    std::vector<HWND> buttons = Descendants(toolWindow, [](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return IsWindowVisible(w) && r.right - r.left == 25 && r.bottom - r.top == 25;
    });
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return buttons;
}

// The saved picture once it satisfies a check; empty when it never did in time.
TBitmap32 SavedPictureWhen(const std::wstring& path, const std::function<bool(const TBitmap32&)>& check) {
    TBitmap32 found;
    WaitFor([&] {
        TBitmap32 image;
        std::wstring error;
        if (!LoadImageFile(path, image, error) || image.Empty() || !check(image))
            return false;
        found = image;
        return true;
    });
    return found;
}

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kYellow = 0xFFFFFF00;

// A pixel of the grey a shadow leaves on white: the same in all three channels, darker
// than white and much lighter than black, and opaque.
bool ShadowGrey(std::uint32_t c) {
    const std::uint32_t r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return (c >> 24) == 0xFF && r == g && g == b && r < 250 && r > 150;
}

// Points of the 400 x 300 picture.
constexpr POINT kRectFrom{40, 40}, kRectTo{200, 160};
constexpr POINT kArrowFrom{230, 230}, kArrowTo{370, 230};
constexpr POINT kInside{120, 100};
} // namespace

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        DeleteRegTree(kSettingsKey);
        WriteRegString(kSettingsKey, L"Language", L"English");
        WriteRegString(kSettingsKey, L"isIEButton", L"FALSE");
        // A red pen and a yellow fill colour, read by the tool window at its first activation.
        WriteRegDword(kSettingsKey, L"ForgColor", 0x0000FF);
        WriteRegDword(kSettingsKey, L"BackColor", 0x00FFFF);
        picture = folder.Path() + L"white.png";
        SaveBitmapToFile(TBitmap32(400, 300, kWhite), picture, TImageFileType::Png, 90);
    }
    void TearDown() override {
        DeleteRegTree(kSettingsKey);
        if (comReady)
            CoUninitialize();
    }
    TProgramFolder folder;
    std::wstring picture;
    bool comReady = false;
};

TEST_F(DrawingTest, ARectangleAnArrowWithShadowAndAFillAreSavedAndOneUndoTakesTheFillBack) {
    TProcess program(folder.Exe());
    const HWND main = MainWindowOf(program.Id());
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }));
    HWND tool = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const auto found = Descendants(main, [](HWND w) { return TextOf(w) == L"Tool Window"; });
        tool = found.empty() ? nullptr : found.front();
        return tool && IsWindowVisible(tool);
    }));

    // Open the picture: a click on the caption gives the main window the keyboard.
    RECT frame{};
    GetWindowRect(main, &frame);
    Click({(frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2});
    SendKeys({VK_CONTROL, 'O'});
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const auto found = FindWindows(L"#32770", program.Id());
        dialog = found.empty() ? nullptr : found.front();
        return dialog && IsWindowVisible(dialog);
    }));
    TypeText(picture);
    SendKeys({VK_RETURN});
    // The document's view, once it is laid out to show the whole picture.
    HWND view = nullptr;
    RECT client{};
    const bool shown = WaitFor([&] {
        const auto found =
            Descendants(main, [](HWND w) { return IsWindowVisible(w) && ClassOf(w) == L"TolvexImgView32"; });
        view = found.empty() ? nullptr : found.front();
        return view && GetClientRect(view, &client) && client.right >= 400 && client.bottom >= 300;
    });
    ASSERT_TRUE(shown) << "view " << (view ? "of " : "missing, ") << client.right << " x " << client.bottom;
    // At 100% the picture's top-left pixel is the view's top-left pixel.
    POINT origin{0, 0};
    ClientToScreen(view, &origin);
    const auto at = [&](POINT p) { return POINT{origin.x + p.x, origin.y + p.y}; };

    // The tool grid: Move, Zoom, Select, Text / Pen, Erase, Dropper, Fill / Rectangle, ...
    const std::vector<HWND> tools = SquareButtons(tool);
    ASSERT_GE(tools.size(), 15u);
    const HWND fillButton = tools[7], rectButton = tools[8], arrowButton = tools[13];
    Click(Centre(rectButton));
    // The Pen bar comes next under the tool grid: its third width button is 5.
    std::vector<HWND> widths;
    ASSERT_TRUE(WaitFor([&] {
        const std::vector<HWND> now = SquareButtons(tool);
        widths.clear();
        for (HWND b : now)
            if (std::find(tools.begin(), tools.begin() + 15, b) == tools.begin() + 15)
                widths.push_back(b);
        return widths.size() >= 5;
    }));
    Click(Centre(widths[2]));

    Drag(at(kRectFrom), at(kRectTo));
    Click(Centre(arrowButton));
    Drag(at(kArrowFrom), at(kArrowTo));
    Click(Centre(fillButton));
    // The right button fills with the fill colour.
    Click(at(kInside), true);
    SendKeys({VK_CONTROL, 'S'});

    const TBitmap32 saved =
        SavedPictureWhen(picture, [](const TBitmap32& image) { return image.Pixel(120, 100) == kYellow; });
    ASSERT_FALSE(saved.Empty()) << "the filled picture was never saved";
    ASSERT_EQ(saved.Width(), 400);
    // The rectangle's edges, its outside and its filled inside.
    EXPECT_EQ(saved.Pixel(41, 100), kRed);
    EXPECT_EQ(saved.Pixel(120, 41), kRed);
    EXPECT_EQ(saved.Pixel(20, 100), kWhite);
    EXPECT_EQ(saved.Pixel(120, 20), kWhite);
    EXPECT_EQ(saved.Pixel(60, 130), kYellow);
    // The arrow's shaft and head, its shadow five pixels lower, and white beyond.
    EXPECT_EQ(saved.Pixel(300, 230), kRed);
    EXPECT_EQ(saved.Pixel(366, 230), kRed);
    EXPECT_PRED1(ShadowGrey, saved.Pixel(300, 236));
    EXPECT_EQ(saved.Pixel(300, 250), kWhite);
    EXPECT_EQ(saved.Pixel(300, 215), kWhite);

    // One undo takes the fill back; the shapes stay. The view still has the keyboard.
    SendKeys({VK_CONTROL, 'Z'});
    SendKeys({VK_CONTROL, 'S'});
    const TBitmap32 undone =
        SavedPictureWhen(picture, [](const TBitmap32& image) { return image.Pixel(120, 100) == kWhite; });
    ASSERT_FALSE(undone.Empty()) << "the picture after the undo was never saved";
    EXPECT_EQ(undone.Pixel(60, 130), kWhite);
    EXPECT_EQ(undone.Pixel(41, 100), kRed);
    EXPECT_EQ(undone.Pixel(300, 230), kRed);
    EXPECT_PRED1(ShadowGrey, undone.Pixel(300, 236));
    EXPECT_TRUE(ExitProgram(program, main));
}
