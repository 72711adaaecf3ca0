// The capture delivery: every capture road ends here, in a new document, on the
// clipboard, or in the next numbered file of the output folder.
#include <windows.h>

#include <mmsystem.h>

#include "core/CaptureNaming.h"
#include "core/ImageFileType.h"
#include "core/StoredValues.h"
#include "forms/Clipboard.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/ImageCodecs.h"
#include "shell/frmMain.h"

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

// The messages of an auto-save that finds no name to save under.
constexpr std::wstring_view kNameNotLookedUp =
    L"The capture was not saved: Tolvex could not look up the name ";
constexpr std::wstring_view kNoFreeName = L"The capture was not saved: the folder ";

// 0 when a file or folder of that name exists, else why it could not be found.
DWORD LookUpName(const std::wstring& name) {
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES ? ERROR_SUCCESS : GetLastError();
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

std::wstring TMainForm::FreeAutoSaveName(const std::wstring& folder, const wchar_t* ext) const {
    DWORD error = 0;
    const auto probe = [&](const std::wstring& name) {
        error = AutoSaveNameLookup ? AutoSaveNameLookup(name) : LookUpName(name);
        if (error == ERROR_SUCCESS)
            return TNameProbe::Taken;
        return error == ERROR_FILE_NOT_FOUND ? TNameProbe::Free : TNameProbe::Failed;
    };
    const TAutoSaveName found = MakeUniqueFileName(folder, ext, probe);
    switch (found.Probe) {
    case TNameProbe::Free:
        return found.Name;
    case TNameProbe::Failed:
        throw ECaptureDeliveryError(std::wstring(kNameNotLookedUp) + L"\"" + found.Name + L"\": " +
                                    SysErrorMessage(error));
    case TNameProbe::Taken:
        break;
    }
    const std::wstring last = L"Capture_" + std::to_wstring(kMaxAutoSaveNumber) + L"." + ext;
    throw ECaptureDeliveryError(std::wstring(kNoFreeName) + L"\"" + folder +
                                L"\" already holds every name from Capture_1." + ext + L" to " + last + L".");
}

void TMainForm::SaveCaptureToFolder(const TBitmap& bitmap) {
    const std::wstring folder = ReadString(SettingName::kOutputFolder);
    if (folder.empty() || (!DirectoryExists(folder) && !ForceDirectories(folder))) {
        const std::wstring message = L"'" + folder + L"' " + msgPathNotFound;
        // A page of a timed series is never held up by a box: it is lost, and the series
        // counts it and gives this reason once at its end.
        if (CaptureMode == TCaptureMode::Continuity)
            throw ECaptureDeliveryError(message);
        MessageDlg(message, TMsgDlgType::Warning, mbOK);
        return;
    }
    const auto type =
        static_cast<TImageFileType>(SaveImageTypeOrDefault(ReadInteger(SettingName::kSaveImageType)));
    const int quality = JpegQualityFromLevel(ReadInteger(SettingName::kJPEGQulity));
    TBitmap32 image;
    AssignToBitmap32(bitmap, image);
    // A name is free when nothing bears it; the file is created exclusively, so a file
    // that appears meanwhile is never overwritten: the next number is taken instead.
    for (int attempt = 0;; ++attempt) {
        const std::wstring name = FreeAutoSaveName(folder, ExtensionOf(type));
        try {
            SaveBitmapToFile(image, name, type, quality, TImageSaveOptions{.Bmp24 = true, .CreateNew = true});
            return;
        } catch (const EOSError& e) {
            if (e.ErrorCode() != ERROR_ALREADY_EXISTS || attempt >= 100)
                throw;
        }
    }
}
