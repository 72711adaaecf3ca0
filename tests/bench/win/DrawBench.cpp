// The cost of drawing with the mouse in a document: each mouse move of a rectangle drag,
// an arrow drag and a pen stroke, from the posted WM_MOUSEMOVE until its repaint is done,
// and each release (which records an undo state), on a screen-sized and on a very large
// picture. Beside them, a copy of the whole picture's pixels: a move that costs about as
// much as that copy passes over the whole picture.
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "BenchClock.h"
#include "core/Bitmap32.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"
#include "forms/Application.h"
#include "forms/Dialogs.h"
#include "forms/ImgView32.h"
#include "shell/frmMain.h"

namespace {
double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0.0 : times[times.size() / 2];
}

// Handles every waiting message, the paints they cause included; the idle work that
// follows an empty queue in the program runs after the clock stopped.
void Drain(TApplication& app) {
    while (app.HandleMessage(false)) {
    }
}

// Posts a mouse message to the view and times it until the queue is empty again.
double Timed(TApplication& app, HWND view, UINT msg, WPARAM keys, int x, int y) {
    const double start = Now();
    PostMessageW(view, msg, keys, MAKELPARAM(x, y));
    Drain(app);
    const double took = Now() - start;
    app.DoIdle();
    return took;
}

constexpr int kDrags = 5;  // drags per tool and picture
constexpr int kMoves = 40; // moves per drag

struct TResult {
    double Move = 0;
    double Release = 0;
};

// Drags of one tool on a new document of w x h, from (100, 100) outwards and back.
TResult MeasureTool(TApplication& app, TMainForm& main, TToolCode tool, int w, int h) {
    ToolForm->SetTool(tool);
    TChildForm* doc = main.CreateDocument(L"bench");
    doc->ImgView32->SetBitmap(TBitmap32(w, h, 0xFFFFFFFF));
    Drain(app);
    const HWND view = doc->ImgView32->Handle();
    std::vector<double> moves, releases;
    for (int d = 0; d < kDrags; ++d) {
        const int x0 = 100 + d * 10, y0 = 100 + d * 8;
        Timed(app, view, WM_MOUSEMOVE, 0, x0, y0);
        Timed(app, view, WM_LBUTTONDOWN, MK_LBUTTON, x0, y0);
        int x = x0, y = y0;
        for (int k = 1; k <= kMoves; ++k) {
            // Out to the lower right, then half of it back, as a hand corrects a drag.
            const int step = k <= kMoves * 2 / 3 ? k : kMoves * 4 / 3 - k;
            x = x0 + step * 14;
            y = y0 + step * 9;
            moves.push_back(Timed(app, view, WM_MOUSEMOVE, MK_LBUTTON, x, y));
        }
        releases.push_back(Timed(app, view, WM_LBUTTONUP, 0, x, y));
    }
    RECT client{};
    GetClientRect(view, &client);
    std::printf("  (view %ld x %ld)", client.right, client.bottom);
    // Closing asks whether to save; the benchmark's answer is no.
    doc->Close();
    Drain(app);
    return {Median(moves), Median(releases)};
}

double MemcpyOf(int w, int h) {
    const std::size_t bytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
    std::vector<std::uint8_t> from(bytes, 0x5A), to(bytes);
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        const double start = Now();
        std::memcpy(to.data(), from.data(), bytes);
        times.push_back(Now() - start);
    }
    // Keep the copy from being optimised away.
    std::printf("%s", to[bytes / 2] == 0x5A ? "" : " ");
    return Median(times);
}
} // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    TApplication app(GetModuleHandleW(nullptr));
    app.Title = L"Tolvex";
    // An error box would wait for a click that never comes: errors are printed instead.
    app.OnShowException = [](const std::wstring& m) { std::fprintf(stderr, "error: %ls\n", m.c_str()); };
    MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
    ShutterSoundHook = [] {};
    {
        auto main = CreateForm<TMainForm>();
        app.MainForm = main.get();
        auto tool = CreateForm<TToolForm>(*main);
        ToolForm = tool.get();
        main->Show();
        ShowWindow(main->Handle(), SW_MAXIMIZE);
        Drain(app);
        ToolForm->SetPenWidth(3);
        ToolForm->UseShadow = true;

        struct TPictureSize {
            int W, H;
        };
        struct TTool {
            const char* Name;
            TToolCode Code;
        };
        const TTool tools[] = {
            {"rectangle", TToolCode::Rectangle}, {"arrow", TToolCode::SingleArrow}, {"pen", TToolCode::Pen}};
        std::printf("median of %d moves and %d releases per tool, pen width 3, shadows on\n", kDrags * kMoves,
                    kDrags);
        for (const TPictureSize size : {TPictureSize{1280, 1024}, TPictureSize{7680, 4320}}) {
            std::printf("== %d x %d: memcpy of the picture %.3f ms\n", size.W, size.H,
                        MemcpyOf(size.W, size.H));
            for (const TTool& t : tools) {
                std::printf("%-10s", t.Name);
                const TResult r = MeasureTool(app, *main, t.Code, size.W, size.H);
                std::printf("  move %8.3f ms   release %8.2f ms\n", r.Move, r.Release);
            }
        }
        ToolForm = nullptr;
        tool.reset();
        main.reset();
        app.MainForm = nullptr;
    }
    MessageDlgHook = nullptr;
    ShutterSoundHook = nullptr;
    CoUninitialize();
    return 0;
}
