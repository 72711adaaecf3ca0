#pragma once
// The program's manifest made active for a test's scope, so that the windows created meanwhile
// are the version-6 common controls the program runs with (buttons with pictures among them).
#include <windows.h>

#include <cstdlib>
#include <string>

class TCommonControls6Scope {
public:
    TCommonControls6Scope() {
        const char* source = std::getenv("TOLVEX_SOURCE_DIR");
        if (!source)
            return;
        const std::string dir(source);
        manifest_ = L"Z:" + std::wstring(dir.begin(), dir.end()) + L"\\resources\\Tolvex.manifest";
        ACTCTXW ctx{};
        ctx.cbSize = sizeof(ctx);
        ctx.lpSource = manifest_.c_str();
        context_ = CreateActCtxW(&ctx);
        if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_)) {
            ReleaseActCtx(context_);
            context_ = INVALID_HANDLE_VALUE;
        }
    }
    ~TCommonControls6Scope() {
        if (context_ == INVALID_HANDLE_VALUE)
            return;
        DeactivateActCtx(0, cookie_);
        ReleaseActCtx(context_);
    }
    TCommonControls6Scope(const TCommonControls6Scope&) = delete;
    TCommonControls6Scope& operator=(const TCommonControls6Scope&) = delete;
    bool Active() const { return context_ != INVALID_HANDLE_VALUE; }

private:
    std::wstring manifest_;
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};
