#include "forms/Dialogs.h"

#include <windows.h>

#include "forms/Application.h"

std::function<int(const std::wstring&, TMsgDlgType, TMsgDlgButtons)> MessageDlgHook;

int MessageDlg(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons) {
    if (MessageDlgHook)
        return MessageDlgHook(message, type, buttons);
    UINT flags = MB_TASKMODAL;
    switch (type) {
    case TMsgDlgType::Warning:
        flags |= MB_ICONWARNING;
        break;
    case TMsgDlgType::Error:
        flags |= MB_ICONERROR;
        break;
    case TMsgDlgType::Information:
        flags |= MB_ICONINFORMATION;
        break;
    case TMsgDlgType::Confirmation:
        flags |= MB_ICONQUESTION;
        break;
    }
    if ((buttons & (mbYes | mbNo | mbCancel)) == (mbYes | mbNo | mbCancel))
        flags |= MB_YESNOCANCEL;
    else if ((buttons & (mbYes | mbNo)) == (mbYes | mbNo))
        flags |= MB_YESNO;
    else if ((buttons & (mbOK | mbCancel)) == (mbOK | mbCancel))
        flags |= MB_OKCANCEL;
    else
        flags |= MB_OK;
    static const wchar_t* const kTitles[] = {L"Warning", L"Error", L"Information", L"Confirm"};
    const wchar_t* title = kTitles[static_cast<int>(type)];
    if (Application)
        ++Application->ModalLevel;
    const int result = MessageBoxW(GetActiveWindow(), message.c_str(), title, flags);
    if (Application)
        --Application->ModalLevel;
    return result;
}
