#pragma once
// A capture dialog host that translates nothing and stores nothing: for tests that only look
// at the capture dialogs themselves.
#include "capture/CaptureDialogHost.h"

inline ICaptureDialogHost& NoDialogHost() {
    struct THost : ICaptureDialogHost {
        void TranslateDialog(TForm&) override {}
        std::int32_t StoredInteger(std::wstring_view) const override { return 0; }
        void StoreInteger(std::wstring_view, std::int32_t) override {}
        void SaveStore() override {}
    };
    static THost host;
    return host;
}
