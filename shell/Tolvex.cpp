// The program body: the single-instance test, then the application with the main window.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "editor/frmTool.h"
#include "forms/Application.h"
#include "forms/DockPanel.h"
#include "resources/resource.h"
#include "shell/PrevInstance.h"
#include "shell/frmMain.h"
#include "shell/unitDataObjects.h"

namespace {
std::wstring ProductName(HINSTANCE instance) {
    wchar_t buffer[128] = {};
    const int len = LoadStringW(instance, IDS_PRODUCT_NAME, buffer, 128);
    return len > 0 ? std::wstring(buffer, static_cast<std::size_t>(len)) : std::wstring(L"Tolvex");
}

std::wstring FirstArgument() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring arg = (argv && argc > 1) ? argv[1] : L"";
    if (argv)
        LocalFree(argv);
    return arg;
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    TOleSession ole;
    const std::wstring product = ProductName(instance);
    InitPrevInstance(product);
    if (IsPrevInstanceRunning()) {
        ClosePrevInstanceMutex();
        PostToPrevInstance(FirstArgument());
        return 0;
    }

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES |
                                              ICC_TAB_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    TApplication app(instance);
    app.Title = product;
    try {
        auto mainForm = CreateForm<TMainForm>();
        app.MainForm = mainForm.get();
        auto toolForm = CreateForm<TToolForm>(*mainForm, mainForm->DockPanelLeft->Handle());
        ToolForm = toolForm.get();
        app.OnMessage = [&](MSG& msg, bool& handled) { mainForm->ApplicationEvents1Message(msg, handled); };
        app.Run();
        app.OnMessage = nullptr;
        ToolForm = nullptr;
        toolForm.reset();
        mainForm.reset();
        app.MainForm = nullptr;
    } catch (...) {
        app.HandleException(std::current_exception());
        ClosePrevInstanceMutex();
        return 1;
    }
    ClosePrevInstanceMutex();
    return 0;
}
