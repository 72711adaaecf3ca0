// A long run of the program's document life in one process, to show that nothing grows:
// screen captures into documents closed in batches by Close All (answered No), and a large
// picture opened and closed again and again, plain, with a floating selection and with undo
// states. Private memory, handles, GDI and USER objects and the undo state files are read
// after a warm-up and at the end; each must end within 10 % of where it started.
// Usage: TolvexSoak.exe [captures] [rounds]
//        TolvexSoak.exe leak   (a short run that leaks on purpose: passes when that is seen)
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "core/Bitmap32.h"
#include "core/ImageFileType.h"
#include "core/StateFileName.h"
#include "core/StoredValues.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"
#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/Dialogs.h"
#include "forms/FileDialogs.h"
#include "forms/Files.h"
#include "forms/ImageCodecs.h"
#include "shell/frmMain.h"
#include "shell/unitDataObjects.h"

namespace {
constexpr int kBatch = 20;
constexpr int kPictureWidth = 4000; // 12 megapixels
constexpr int kPictureHeight = 3000;
constexpr double kAllowedGrowth = 0.10;

struct TFigures {
    std::uint64_t PrivateUsage = 0;     // the system's private bytes counter
    std::uint64_t CommittedPrivate = 0; // committed private pages of the address space
    DWORD Handles = 0;                  // the system's handle count
    DWORD ProbedHandles = 0;            // kernel handles found by probing the handle values
    DWORD GdiObjects = 0;
    DWORD ProbedGdiObjects = 0; // GDI objects found by probing the handle table
    DWORD Windows = 0;          // windows of the process, child windows included
    DWORD UserObjects = 0;
    std::size_t UndoFiles = 0;
};

// Sums the committed private regions of the address space: the private bytes as the
// process itself sees them, also where the system's counter means something else.
std::uint64_t CommittedPrivateBytes() {
    std::uint64_t total = 0;
    std::uintptr_t address = 0;
    MEMORY_BASIC_INFORMATION info;
    while (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
        const std::uintptr_t next = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

// Counts the open kernel handles by asking for the flags of every handle value in turn:
// works where the system's handle count answers 0. Handle values are multiples of 4, given
// out from the lowest free one, so a few thousand above the highest in use cover them.
DWORD ProbedHandleCount() {
    constexpr std::uintptr_t kLastValue = 0x40000;
    DWORD count = 0;
    for (std::uintptr_t value = 4; value <= kLastValue; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

// Counts the GDI objects by asking for the type of every entry of the GDI handle table:
// where the system's count answers 0 (Wine), a handle without its upper half names the
// entry alone. Elsewhere such handles are refused and the count stays 0.
DWORD ProbedGdiObjectCount() {
    DWORD count = 0;
    for (std::uintptr_t index = 1; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM lParam) {
    ++*reinterpret_cast<DWORD*>(lParam);
    return TRUE;
}

// A top-level window of the process with all its descendants.
BOOL CALLBACK CountWindow(HWND wnd, LPARAM lParam) {
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<DWORD*>(lParam);
        EnumChildWindows(wnd, CountChild, lParam);
    }
    return TRUE;
}

// The windows of the process: top-level ones, message-only ones and all their children.
DWORD WindowCount() {
    DWORD count = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND wnd = nullptr; (wnd = FindWindowExW(HWND_MESSAGE, wnd, nullptr, nullptr)) != nullptr;)
        CountWindow(wnd, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::size_t FilesIn(const std::wstring& folder) {
    std::size_t count = 0;
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

std::size_t UndoFileCount() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD len = GetTempPathW(MAX_PATH + 1, temp);
    return FilesIn(UndoFolderPath(std::wstring(temp, len)));
}

TFigures Measure() {
    TFigures f;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters))
        f.PrivateUsage = counters.PrivateUsage;
    f.CommittedPrivate = CommittedPrivateBytes();
    GetProcessHandleCount(GetCurrentProcess(), &f.Handles);
    f.ProbedHandles = ProbedHandleCount();
    f.GdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    f.UserObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (f.GdiObjects == 0)
        f.ProbedGdiObjects = ProbedGdiObjectCount();
    f.Windows = WindowCount();
    f.UndoFiles = UndoFileCount();
    return f;
}

// One figure before and after; a system that always answers 0 cannot show a leak.
bool Judge(const char* name, std::uint64_t before, std::uint64_t after, const char* unit) {
    if (before == 0 && after == 0) {
        std::printf("  %-22s not measurable (the system answers 0)\n", name);
        return true;
    }
    const double change =
        before ? (static_cast<double>(after) - static_cast<double>(before)) / static_cast<double>(before)
               : 1.0;
    const bool held = after <= before || change <= kAllowedGrowth;
    std::printf("  %-22s %12llu -> %12llu %s (%+.1f %%) %s\n", name, static_cast<unsigned long long>(before),
                static_cast<unsigned long long>(after), unit, change * 100.0, held ? "ok" : "GREW");
    return held;
}

bool JudgeAll(const char* phase, const TFigures& before, const TFigures& after) {
    std::printf("%s\n", phase);
    bool held = Judge("private bytes", before.PrivateUsage, after.PrivateUsage, "bytes");
    held &= Judge("committed private", before.CommittedPrivate, after.CommittedPrivate, "bytes");
    held &= Judge("handles", before.Handles, after.Handles, "");
    held &= Judge("handles (probed)", before.ProbedHandles, after.ProbedHandles, "");
    held &= Judge("GDI objects", before.GdiObjects, after.GdiObjects, "");
    held &= Judge("GDI objects (probed)", before.ProbedGdiObjects, after.ProbedGdiObjects, "");
    held &= Judge("USER objects", before.UserObjects, after.UserObjects, "");
    held &= Judge("windows", before.Windows, after.Windows, "");
    // State files are counted exactly: one left behind per document is a leak on disk.
    std::printf("  %-22s %12zu -> %12zu %s\n", "undo state files", before.UndoFiles, after.UndoFiles,
                after.UndoFiles <= before.UndoFiles ? "ok" : "GREW");
    held &= after.UndoFiles <= before.UndoFiles;
    std::fflush(stdout);
    return held;
}

class TSoak {
public:
    TSoak(TMainForm& main, std::wstring picture) : main_(main), picture_(std::move(picture)) {}
    // A planted leak per capture (a megabyte and an event handle), to show that the
    // figures see one.
    bool PlantLeaks = false;

    // Runs the posted work (released documents, tab updates, idle updates) until every
    // document is gone; false when they stay.
    bool Settle() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        do {
            while (Application->HandleMessage(false)) {
            }
            Application->DoIdle();
            if (main_.MDIChildren().empty())
                return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }

    // Screen captures into new documents; every batch goes by Close All answered No.
    bool Captures(int count) {
        for (int i = 0; i < count; ++i) {
            main_.acCaptureScreen->Execute();
            Pump();
            if (PlantLeaks) {
                static_cast<void>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
                static_cast<void>(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(i)));
                if (void* block = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
                    std::memset(block, 1, 1 << 20);
            }
            if ((i + 1) % kBatch == 0 || i + 1 == count) {
                const int asked = questions_;
                const std::size_t open = main_.MDIChildren().size();
                main_.acFileCloseAll->Execute();
                if (!Settle() || static_cast<std::size_t>(questions_ - asked) != open) {
                    std::printf("capture batch %d: the documents did not all close\n", i / kBatch + 1);
                    return false;
                }
            }
        }
        return true;
    }

    // The large picture opened and closed: plain, with a floating selection, and with
    // undo states (two changes, one undone) under a floating selection.
    bool Rounds(int count) {
        for (int i = 0; i < count; ++i) {
            for (int variant = 0; variant < 3; ++variant) {
                main_.acFileOpen->Execute();
                TChildForm* doc = main_.ActiveDocument();
                if (!doc || doc->ImgView32->Bitmap().Width() != kPictureWidth) {
                    std::printf("round %d: the picture did not open\n", i + 1);
                    return false;
                }
                if (variant == 2) {
                    doc->InvertImage();
                    doc->GrayscaleImage();
                    doc->Undo();
                    if (doc->History->Count() < 2 || UndoFileCount() == 0) {
                        std::printf("round %d: no undo states were written\n", i + 1);
                        return false;
                    }
                }
                if (variant >= 1)
                    main_.acEditSelectAll->Execute();
                if (variant >= 1 && !doc->HasFloatingLayer()) {
                    std::printf("round %d: no floating selection\n", i + 1);
                    return false;
                }
                Pump();
                main_.acFileCloseAll->Execute();
                if (!Settle()) {
                    std::printf("round %d: the document did not close\n", i + 1);
                    return false;
                }
            }
        }
        return true;
    }

    void Answering() {
        MessageDlgHook = [this](const std::wstring&, TMsgDlgType, TMsgDlgButtons) {
            ++questions_;
            return mrNo;
        };
        FileDialogHook = [this](TFileDialog& dialog) {
            dialog.FileName = picture_;
            return true;
        };
    }

private:
    static void Pump() {
        while (Application->HandleMessage(false)) {
        }
        Application->DoIdle();
    }

    TMainForm& main_;
    std::wstring picture_;
    int questions_ = 0;
};

// The 12-megapixel picture: a PNG with colour everywhere, so that nothing is trivially small.
std::wstring WritePicture() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD len = GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring path =
        std::wstring(temp, len) + L"tolvex-soak-" + std::to_wstring(GetCurrentProcessId()) + L".png";
    TBitmap32 image(kPictureWidth, kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x)
            image.SetPixel(x, y,
                           Color32(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                   static_cast<std::uint8_t>(x ^ y), 255));
    SaveBitmapToFile(image, path, TImageFileType::Png, 90);
    return path;
}

int Run(int captures, int rounds, bool plantLeaks) {
    const std::wstring picture = WritePicture();
    struct TRemove {
        std::wstring Path;
        ~TRemove() { DeleteFileW(Path.c_str()); }
    } remove{picture};

    auto mainForm = CreateForm<TMainForm>();
    Application->MainForm = mainForm.get();
    auto toolForm = CreateForm<TToolForm>(*mainForm);
    ToolForm = toolForm.get();
    struct TEnd {
        ~TEnd() {
            MessageDlgHook = nullptr;
            FileDialogHook = nullptr;
        }
    } end;
    mainForm->CaptureSleep = [](DWORD) {};
    for (const auto name : {SettingName::kIsSound, SettingName::kIsBeforeHide, SettingName::kIsAfterVisible})
        mainForm->JvFormStorage1.SetStoredValue(name, false);
    mainForm->JvFormStorage1.SetStoredValue(SettingName::kOutputType, 0);
    mainForm->Show();

    TSoak soak(*mainForm, picture);
    soak.PlantLeaks = plantLeaks;
    soak.Answering();
    // The first pass fills what the program keeps for good (fonts, codecs, cursors).
    if (!soak.Captures(kBatch) || !soak.Rounds(1))
        return 1;
    const TFigures start = Measure();
    const auto began = std::chrono::steady_clock::now();
    if (!soak.Captures(captures))
        return 1;
    const TFigures afterCaptures = Measure();
    if (!soak.Rounds(rounds))
        return 1;
    const TFigures afterRounds = Measure();
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - began).count();

    std::printf("%d captures in batches of %d, %d rounds of a %dx%d picture, %lld s\n", captures, kBatch,
                rounds, kPictureWidth, kPictureHeight, static_cast<long long>(seconds));
    bool held = JudgeAll("after the captures", start, afterCaptures);
    held &= JudgeAll("after the picture rounds", afterCaptures, afterRounds);
    held &= JudgeAll("whole run", start, afterRounds);
    if (plantLeaks) {
        held = !held;
        std::printf(held ? "the planted leaks were seen\n" : "the planted leaks were NOT seen\n");
    } else {
        std::printf(held ? "soak passed\n" : "soak FAILED\n");
    }

    ToolForm = nullptr;
    toolForm.reset();
    mainForm.reset();
    Application->MainForm = nullptr;
    return held ? 0 : 1;
}
} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool plantLeaks = argc > 1 && std::wstring(argv[1]) == L"leak";
    const int captures = plantLeaks ? 40 : argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    const int rounds = plantLeaks ? 1 : argc > 2 ? std::max(1, _wtoi(argv[2])) : 50;
    TOleSession ole;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                              ICC_TAB_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    TApplication app(GetModuleHandleW(nullptr));
    app.Title = L"Tolvex";
    app.OnShowException = [](const std::wstring& message) {
        std::fwprintf(stdout, L"error box: %ls\n", message.c_str());
    };
    try {
        return Run(captures, rounds, plantLeaks);
    } catch (...) {
        app.HandleException(std::current_exception());
        return 1;
    }
}
