// The capture delivery: every capture road ends here, in a new document, on the
// clipboard, or in the next numbered file of the output folder.
#include <windows.h>

#include <mmsystem.h>

#include "shell/frmMain.h"

#include "core/CaptureNaming.h"
#include "core/ImageFileType.h"
#include "core/StoredValues.h"
#include "forms/Clipboard.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/ImageCodecs.h"

std::function<void()> ShutterSoundHook;

namespace {
// The shutter sound stays in the program's loaded resources, so it may play on after
// the call returns.
void PlayShutterSound() {
    if (ShutterSoundHook) {
        ShutterSoundHook();
        return;
    }
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC res = FindResourceW(module, L"CAPTURE", L"DATA");
    const HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    if (const void* bytes = data ? LockResource(data) : nullptr)
        sndPlaySoundW(static_cast<const wchar_t*>(bytes), SND_ASYNC | SND_MEMORY);
}

const wchar_t* ExtensionOf(TImageFileType type) {
    switch (type) {
    case TImageFileType::Bmp:
        return L"bmp";
    case TImageFileType::Gif:
        return L"gif";
    case TImageFileType::Jpeg:
        return L"jpg";
    case TImageFileType::Png:
        return L"png";
    }
    return L"jpg";
}
} // namespace

void TMainForm::NewCapture(const TBitmap& bitmap) {
    if (ReadBool(SettingName::kIsSound))
        PlayShutterSound();
    switch (OutputTypeOrDefault(ReadInteger(SettingName::kOutputType))) {
    case 1:
        ClipboardAssignBitmap(bitmap, Handle());
        break;
    case 2:
        SaveCaptureToFolder(bitmap);
        break;
    default:
        // 0: a new editor document, opened by the document code of the main window.
        NewCaptureDocument(bitmap);
        break;
    }
}

void TMainForm::SaveCaptureToFolder(const TBitmap& bitmap) {
    const std::wstring folder = ReadString(SettingName::kOutputFolder);
    if (folder.empty() || (!DirectoryExists(folder) && !ForceDirectories(folder))) {
        MessageDlg(L"'" + folder + L"' " + msgPathNotFound, TMsgDlgType::Warning, mbOK);
        return;
    }
    const auto type = static_cast<TImageFileType>(SaveImageTypeOrDefault(ReadInteger(SettingName::kSaveImageType)));
    const int quality = JpegQualityFromLevel(ReadInteger(SettingName::kJPEGQulity));
    TBitmap32 image;
    AssignToBitmap32(bitmap, image);
    // A name is free when nothing bears it; the file is created exclusively, so a file
    // that appears meanwhile is never overwritten: the next number is taken instead.
    for (int attempt = 0;; ++attempt) {
        const std::wstring name = MakeUniqueFileName(folder, ExtensionOf(type), PathExists);
        try {
            SaveBitmapToFile(image, name, type, quality, TImageSaveOptions{.Bmp24 = true, .CreateNew = true});
            return;
        } catch (const EOSError& e) {
            if (e.ErrorCode() != ERROR_ALREADY_EXISTS || attempt >= 100)
                throw;
        }
    }
}

