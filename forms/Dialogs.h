#pragma once
// Message boxes. Tests replace MessageDlgHook to answer them without a window.
#include <cstdint>
#include <functional>
#include <string>

enum class TMsgDlgType : std::uint8_t { Warning = 0, Error = 1, Information = 2, Confirmation = 3 };
enum TMsgDlgButton : std::uint8_t { mbOK = 1, mbYes = 2, mbNo = 4, mbCancel = 8 };
using TMsgDlgButtons = std::uint8_t;

// Shows a message box owned by the active window; returns mrOk, mrYes, mrNo or mrCancel.
int MessageDlg(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons);

// When set, MessageDlg calls it instead of showing a box.
extern std::function<int(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons)>
    MessageDlgHook;
