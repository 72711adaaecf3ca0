// Drawing in the real program with the real mouse: a picture opened through the Open
// dialog, a rectangle and an arrow with its shadow dragged, the rectangle filled, the
// picture saved, then one undo and a second save.
#include <windows.h>

#include <dlgs.h>
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
void Mouse(POINT p, DWORD buttons = 0) {
    MoveMouse(p.x, p.y, buttons);
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

bool SquareButton(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return IsWindowVisible(w) && ClassOf(w) == L"Button" && r.right - r.left == 25 && r.bottom - r.top == 25;
}

// A window's place inside its parent, which stays the same while the whole tool window moves.
POINT PlaceInParent(HWND w) {
    POINT p{0, 0};
    MapWindowPoints(w, GetParent(w), &p, 1);
    return p;
}

// The tool grid: the fifteen square buttons of the one bar that holds them, row by row
// (Move, Zoom, Select, Text / Pen, Erase, Dropper, Fill / Rectangle, ...); empty until shown.
std::vector<HWND> ToolGrid(HWND toolWindow) {
    const std::vector<HWND> squares = Descendants(toolWindow, SquareButton);
    for (HWND first : squares) {
        std::vector<HWND> grid;
        for (HWND b : squares)
            if (GetParent(b) == GetParent(first))
                grid.push_back(b);
        if (grid.size() != 15)
            continue;
        std::sort(grid.begin(), grid.end(), [](HWND a, HWND b) {
            const POINT pa = PlaceInParent(a), pb = PlaceInParent(b);
            return pa.y != pb.y ? pa.y < pb.y : pa.x < pb.x;
        });
        return grid;
    }
    return {};
}

// A pen width button by its caption ("1", "3", "5", "7", "9"), or null while none shows.
HWND WidthButton(HWND toolWindow, const std::wstring& caption) {
    const auto found =
        Descendants(toolWindow, [&](HWND w) { return SquareButton(w) && TextOf(w) == caption; });
    return found.size() == 1 ? found.front() : nullptr;
}

// Whether the visible bars of the tool window's column are stacked as its layout leaves
// them: from the column's top down, each right under the one before, none over another.
// While bars are being shown, a new one stands for a moment where another one is.
bool BarsStacked(HWND column) {
    std::vector<RECT> bars;
    for (HWND bar = GetWindow(column, GW_CHILD); bar; bar = GetWindow(bar, GW_HWNDNEXT))
        if (IsWindowVisible(bar)) {
            RECT r{};
            GetWindowRect(bar, &r);
            bars.push_back(r);
        }
    std::sort(bars.begin(), bars.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
    RECT whole{};
    GetWindowRect(column, &whole);
    int top = whole.top;
    for (const RECT& r : bars) {
        if (r.top != top)
            return false;
        top = r.bottom;
    }
    return !bars.empty() && top == whole.bottom;
}

// The program's file dialog has the keyboard, in its file name field.
bool FileNameFieldHasKeyboard(HWND dialog, HWND& field) {
    field = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return field && GetForegroundWindow() == dialog &&
           GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
           (info.hwndFocus == field || IsChild(field, info.hwndFocus));
}

// The text a control of another process holds now (an edit's typed text included).
std::wstring ControlText(HWND control) {
    wchar_t text[MAX_PATH * 2] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, MAX_PATH * 2, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, deadlines::kStateMs, &length))
        return {};
    return text;
}

// The pen width the Pen bar shows in its number box.
std::wstring ShownPenWidth(HWND penBar) {
    const auto boxes = Descendants(penBar, [](HWND w) { return ClassOf(w) == L"Edit"; });
    return boxes.size() == 1 ? ControlText(boxes.front()) : std::wstring{};
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
    ASSERT_TRUE(WaitForStartUp(main));
    const HWND tool = DescendantWithCaption(main, L"Tool Window");
    ASSERT_TRUE(tool);

    // Open the picture: a click on the caption gives the main window the keyboard.
    RECT frame{};
    GetWindowRect(main, &frame);
    Click({(frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2});
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
    SendKeys({VK_CONTROL, 'O'});
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = OpenDialogOf(program.Id())) != nullptr; }));
    // The name is typed once the field has the keyboard, and Enter pressed once it holds it.
    HWND field = nullptr;
    ASSERT_TRUE(WaitFor([&] { return FileNameFieldHasKeyboard(dialog, field); }));
    TypeText(picture);
    ASSERT_TRUE(WaitFor([&] { return ControlText(field) == picture; }))
        << "the field holds " << ControlText(field).size() << " characters";
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
    // The new document's tab and window move the view and may move the tool window: the
    // places are read once they stand still.
    ASSERT_TRUE(WaitForStillLayout({view, tool}));
    // At 100% the picture's top-left pixel is the view's top-left pixel.
    POINT origin{0, 0};
    ClientToScreen(view, &origin);
    const auto at = [&](POINT p) { return POINT{origin.x + p.x, origin.y + p.y}; };

    // The tool grid: Move, Zoom, Select, Text / Pen, Erase, Dropper, Fill / Rectangle, ...
    const std::vector<HWND> tools = ToolGrid(tool);
    ASSERT_EQ(tools.size(), 15u);
    const HWND fillButton = tools[7], rectButton = tools[8], arrowButton = tools[13];
    // Each tool is chosen with a click, and used once its button shows it chosen.
    const auto choose = [&](HWND button) {
        Click(Centre(button));
        return WaitFor([&] { return ButtonChecked(button); });
    };
    ASSERT_TRUE(choose(rectButton));
    // The Rectangle shows the Pen and Fill bars under the tool grid. The width 5 is
    // clicked once the bars are stacked and still, and drawn with once the Pen bar shows it.
    HWND five = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (five = WidthButton(tool, L"5")) && BarsStacked(GetParent(GetParent(five))); }));
    const HWND penBar = GetParent(five);
    ASSERT_TRUE(WaitForStillLayout({five, penBar}));
    ASSERT_TRUE(BarsStacked(GetParent(penBar)));
    Click(Centre(five));
    ASSERT_TRUE(WaitFor([&] { return ButtonChecked(five) && ShownPenWidth(penBar) == L"5"; }))
        << "pen width " << testing::PrintToString(ShownPenWidth(penBar));

    Drag(at(kRectFrom), at(kRectTo));
    ASSERT_TRUE(choose(arrowButton));
    Drag(at(kArrowFrom), at(kArrowTo));
    ASSERT_TRUE(choose(fillButton));
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
