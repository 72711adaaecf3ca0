#pragma once
// Documents for the editor's tests: a capture of one colour delivered to a new document.
#include <windows.h>

#include "core/Bitmap32.h"
#include "core/StoredValues.h"
#include "editor/frmChild.h"
#include "forms/Form.h"
#include "forms/Graphics.h"
#include "shell/frmMain.h"

// A new document of w x h in one colour, opened as a capture; its history is still empty.
inline TChildForm* CaptureDocument(TMainForm& form, int w, int h, TColor32 color) {
    TBitmap b(w, h, TPixelFormat::pf24bit);
    AssignFromBitmap32(b, TBitmap32(w, h, color));
    form.NewCapture(b);
    return form.ActiveDocument();
}

// A main window on fresh settings that puts captures into documents without a sound.
inline TFormPtr<TMainForm> QuietMainForm() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
    auto form = CreateForm<TMainForm>();
    form->JvFormStorage1.SetStoredValue(SettingName::kIsSound, false);
    form->JvFormStorage1.SetStoredValue(SettingName::kOutputType, std::int32_t{0});
    return form;
}
