/* tvl.exe: starts Tolvex.exe from its own folder with its first argument, or with
 * "Control" when it has none, and ends at once. It shows nothing and waits for nothing. */
#include <windows.h>

#include <shellapi.h>

/* The first argument of a command line (the text after the program's own name), copied
 * into buf with any surrounding quotes removed. */
static void FirstArgument(const wchar_t* cmd, wchar_t* buf, int size) {
    int n = 0;
    /* Skip the program name, quoted or not. */
    if (*cmd == L'"') {
        ++cmd;
        while (*cmd && *cmd != L'"')
            ++cmd;
        if (*cmd)
            ++cmd;
    } else {
        while (*cmd && *cmd != L' ' && *cmd != L'\t')
            ++cmd;
    }
    while (*cmd == L' ' || *cmd == L'\t')
        ++cmd;
    if (*cmd == L'"') {
        ++cmd;
        while (*cmd && *cmd != L'"' && n < size - 1)
            buf[n++] = *cmd++;
    } else {
        while (*cmd && *cmd != L' ' && *cmd != L'\t' && n < size - 1)
            buf[n++] = *cmd++;
    }
    buf[n] = 0;
}

void __stdcall LauncherMain(void) {
    static wchar_t argument[1024];
    static wchar_t folder[32768];
    FirstArgument(GetCommandLineW(), argument, 1024);
    if (!argument[0])
        lstrcpyW(argument, L"Control");

    DWORD len = GetModuleFileNameW(NULL, folder, 32768);
    if (len == 0 || len >= 32768)
        ExitProcess(1);
    while (len > 0 && folder[len - 1] != L'\\' && folder[len - 1] != L'/')
        --len;
    folder[len] = 0;

    /* The program is named by its full path so that the search never depends on the
     * launcher's own current folder; an argument with blanks is quoted. */
    static wchar_t program[32768 + 16];
    static wchar_t params[1024 + 2];
    lstrcpyW(program, folder);
    lstrcatW(program, L"Tolvex.exe");
    params[0] = 0;
    int blank = 0;
    for (const wchar_t* p = argument; *p; ++p)
        blank |= (*p == L' ' || *p == L'\t');
    if (blank)
        lstrcpyW(params, L"\"");
    lstrcatW(params, argument);
    if (blank)
        lstrcatW(params, L"\"");
    ShellExecuteW(NULL, L"open", program, params, folder, SW_HIDE);
    ExitProcess(0);
}
