// The options dialog: what it loads, what OK stores (in memory only), what Cancel and the
// warnings leave alone, the browser button and the global hotkeys around it; and the
// About dialog.
#include "shell/frmOption.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "../forms/FormsTestSupport.h"
#include "capture/unitCaptureLib.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/ComboBox.h"
#include "forms/Controls.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/HotKey.h"
#include "forms/Label.h"
#include "forms/Shape.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "shell/components/OpenURL.h"
#include "shell/components/SURLImage.h"
#include "shell/components/SURLLabel.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"

namespace {
constexpr TShortCut kCtrlAltW = 0xC000 | 'W';
constexpr TShortCut kCtrlAltK = 0xC000 | 'K';

class OptionFormTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        UnregisterBrowserButton();
        form = CreateForm<TMainForm>();
        form->JvFormStorage1.SetStoredValue(SettingName::kLanguage, std::wstring(L"English"));
        MessageDlgHook = [this](const std::wstring& m, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(m);
            return mrOk;
        };
    }
    void TearDown() override {
        BrowserButtonDeleteHook = nullptr;
        form->UnregisterHotKeys();
        form.reset();
        MessageDlgHook = nullptr;
        OpenURLHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        UnregisterBrowserButton();
        CoUninitialize();
        FormsTest::TearDown();
    }
    void Set(std::wstring_view name, TStoredValue v) {
        form->JvFormStorage1.SetStoredValue(name, std::move(v));
    }
    TFormPtr<TOptionForm> OpenDialog() {
        auto dialog = CreateForm<TOptionForm>(form.get());
        dialog->Show(); // the first activation loads the values
        PumpPending();
        return dialog;
    }
    // Runs a command that shows a modal dialog; the step runs once the dialog is up. A
    // dialog still open after 10 s is cancelled, so that no test can hang in it.
    void RunModal(TAction* command, const std::function<TForm*()>& dialog,
                  const std::function<void()>& step) {
        auto* timer = form->Make<TTimer>(L"", 20, true);
        const DWORD started = GetTickCount();
        bool done = false;
        timer->OnTimer = [&](TObject*) {
            if (!dialog())
                return;
            if (!done) {
                done = true;
                step();
            } else if (GetTickCount() - started > deadlines::kStateTicks) {
                dialog()->ModalResult = mrCancel;
            }
        };
        command->Execute();
        timer->SetEnabled(false);
    }
    static bool BrowserButtonInstalled() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kBrowserButtonKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    // Whether a combination is free for the whole desktop, tried on the main window.
    bool CombinationFree(TShortCut s) const {
        if (!RegisterHotKey(form->Handle(), 0xA000,
                            ShortCutToHotKeyModifiers(static_cast<std::uint8_t>(s >> 8)), s & 0xFF))
            return false;
        UnregisterHotKey(form->Handle(), 0xA000);
        return true;
    }

    TFormPtr<TMainForm> form;
    std::vector<std::wstring> messages;
};
} // namespace

TEST_F(OptionFormTest, TheFirstActivationLoadsTheStoredValuesAndTheActionsShortcuts) {
    Set(SettingName::kIsBeforeHide, false);
    Set(SettingName::kScrollDelay, 250);
    Set(SettingName::kCaptureDelay, 70000); // outside 1 to 65535: shown at the limit
    Set(SettingName::kSaveImageType, 3);
    Set(SettingName::kJPEGQulity, 4);
    Set(SettingName::kOutputType, 2);
    Set(SettingName::kOutputFolder, std::wstring(L"C:\\captures"));
    Set(SettingName::kIsSound, false);
    form->acCaptureAutoScroll->SetChecked(false);
    form->acCaptureWindow->ShortCut = kCtrlAltW;
    const auto dialog = OpenDialog();
    EXPECT_FALSE(dialog->cbHideBeforeCapture->Checked());
    EXPECT_TRUE(dialog->cbShowAfterCapture->Checked());
    EXPECT_FALSE(dialog->cbAutoScroll->Checked());
    EXPECT_EQ(dialog->seScrollDelay->Value(), 250);
    EXPECT_EQ(dialog->seCaptureDelay->Value(), 65535);
    EXPECT_EQ(dialog->cbImageType->ItemIndex(), 3);
    EXPECT_EQ(dialog->cbJPEGQulity->ItemIndex(), 4);
    EXPECT_FALSE(dialog->cbJPEGQulity->Enabled()); // PNG has no quality
    EXPECT_TRUE(dialog->rbOutputFolder->Checked());
    EXPECT_FALSE(dialog->rbOutputEdit->Checked());
    EXPECT_EQ(dialog->edtCaptureFolder->Text(), L"C:\\captures");
    EXPECT_FALSE(dialog->cbSound->Checked());
    EXPECT_TRUE(dialog->cbIEButton->Checked());
    EXPECT_EQ(dialog->hkControl->HotKey(), 24688);
    EXPECT_EQ(dialog->hkWindow->HotKey(), kCtrlAltW);
    EXPECT_EQ(dialog->hkDualScreen->HotKey(), 24693);
    EXPECT_EQ(dialog->hkDisable->HotKey(), 24699);
    EXPECT_TRUE(dialog->Panel01->Visible());
    EXPECT_FALSE(dialog->Panel02->Visible());

    // A second activation loads nothing again.
    dialog->seScrollDelay->SetValue(300);
    SendMessageW(dialog->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(dialog->seScrollDelay->Value(), 300);
}

TEST_F(OptionFormTest, StoredValuesOutsideTheirListsShowTheDesignedChoices) {
    Set(SettingName::kOutputType, 7);
    Set(SettingName::kOutputFolder, std::wstring(L"C:\\kept"));
    Set(SettingName::kSaveImageType, 9);
    Set(SettingName::kJPEGQulity, -1);
    Set(SettingName::kCaptureDelay, 0);
    const auto dialog = OpenDialog();
    EXPECT_TRUE(dialog->rbOutputEdit->Checked());
    EXPECT_EQ(dialog->edtCaptureFolder->Text(), L"");
    EXPECT_EQ(dialog->cbImageType->ItemIndex(), 2);
    EXPECT_EQ(dialog->cbJPEGQulity->ItemIndex(), 1);
    EXPECT_TRUE(dialog->cbJPEGQulity->Enabled());
    EXPECT_EQ(dialog->seCaptureDelay->Value(), 1);
    dialog->btnOK->Click();
    EXPECT_EQ(dialog->ModalResult, mrOk);
    EXPECT_EQ(form->ReadInteger(SettingName::kOutputType), 0);
    EXPECT_EQ(form->ReadInteger(SettingName::kSaveImageType), 2);
    EXPECT_EQ(form->ReadInteger(SettingName::kJPEGQulity), 1);
    EXPECT_EQ(form->ReadInteger(SettingName::kCaptureDelay), 1);
    EXPECT_EQ(form->ReadString(SettingName::kOutputFolder), L"C:\\kept");
}

TEST_F(OptionFormTest, OkStoresEveryControlInMemoryAndTheShortcutsOnTheActions) {
    Set(SettingName::kOutputFolder, std::wstring(L"C:\\old"));
    const auto dialog = OpenDialog();
    dialog->cbShowAfterCapture->SetChecked(false);
    dialog->cbAutoScroll->SetChecked(false);
    dialog->seScrollDelay->SetValue(40);
    dialog->cbImageType->SetItemIndex(0);
    EXPECT_FALSE(dialog->cbJPEGQulity->Enabled());
    dialog->cbJPEGQulity->SetItemIndex(3);
    dialog->rbOutputClipboard->SetChecked(true);
    dialog->cbSound->SetChecked(false);
    dialog->cbIEButton->SetChecked(false);
    dialog->hkRect->SetHotKey(0); // an emptied field: no shortcut
    dialog->hkVisible->SetHotKey(kCtrlAltW);
    dialog->btnOK->Click();
    EXPECT_EQ(dialog->ModalResult, mrOk);
    EXPECT_FALSE(form->ReadBool(SettingName::kIsAfterVisible));
    EXPECT_TRUE(form->ReadBool(SettingName::kIsBeforeHide));
    EXPECT_FALSE(form->acCaptureAutoScroll->Checked());
    EXPECT_EQ(form->ReadInteger(SettingName::kScrollDelay), 40);
    EXPECT_EQ(form->ReadInteger(SettingName::kSaveImageType), 0);
    EXPECT_EQ(form->ReadInteger(SettingName::kJPEGQulity), 3); // stored though disabled
    EXPECT_EQ(form->ReadInteger(SettingName::kOutputType), 1);
    EXPECT_EQ(form->ReadString(SettingName::kOutputFolder), L"C:\\old");
    EXPECT_FALSE(form->ReadBool(SettingName::kIsSound));
    EXPECT_FALSE(form->ReadBool(SettingName::kIsIEButton));
    EXPECT_EQ(form->acCaptureRect->ShortCut, 0);
    EXPECT_EQ(form->acShow->ShortCut, kCtrlAltW);
    EXPECT_EQ(form->acCaptureControl->ShortCut, 24688);
    // Nothing reaches the disk until the store's own next save.
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tolvex", 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(OptionFormTest, FolderOutputWithoutAFolderWarnsAndKeepsTheDialogOpenOnTheDefaultPage) {
    const auto dialog = OpenDialog();
    dialog->rbOutputFolder->SetChecked(true);
    dialog->seScrollDelay->SetValue(40);
    SendMessageW(dialog->btnShortcutTab->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog->Panel02->Visible());
    EXPECT_FALSE(dialog->Panel01->Visible());
    dialog->btnOK->Click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Folder name empty!");
    EXPECT_EQ(dialog->ModalResult, mrNone);
    EXPECT_TRUE(dialog->Panel01->Visible());
    EXPECT_FALSE(dialog->Panel02->Visible());
    EXPECT_TRUE(dialog->btnDefaultTab->Checked());
    EXPECT_FALSE(dialog->btnShortcutTab->Checked());
    EXPECT_EQ(GetFocus(), dialog->edtCaptureFolder->Handle());
    EXPECT_EQ(form->ReadInteger(SettingName::kScrollDelay), 100);
    EXPECT_EQ(form->ReadInteger(SettingName::kOutputType), 0);
}

TEST_F(OptionFormTest, HintsStayUpTenSecondsWhileTheDialogExists) {
    const auto tooltipPause = [](HWND owner) {
        HWND tip = nullptr;
        while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr)
            if (GetWindow(tip, GW_OWNER) == owner)
                return SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0);
        return LRESULT{-1};
    };
    App().SetHintHidePause(2500);
    {
        const auto dialog = OpenDialog();
        EXPECT_EQ(App().HintHidePause(), 10000);
        EXPECT_EQ(tooltipPause(dialog->Handle()), 10000);
    }
    EXPECT_EQ(App().HintHidePause(), 2500);
}

TEST_F(OptionFormTest, DefaultThenCancelChangesNothingAndTheHotkeysComeBack) {
    Set(SettingName::kScrollDelay, 250);
    Set(SettingName::kIsIEButton, false);
    form->acCaptureWindow->ShortCut = kCtrlAltW;
    form->RegisterHotKeys();
    bool hotkeysFreeWhileOpen = false;
    bool defaultsShown = false;
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [&] {
            hotkeysFreeWhileOpen = CombinationFree(kCtrlAltW) && CombinationFree(24692);
            OptionForm->btnDefault->Click();
            defaultsShown = OptionForm->seScrollDelay->Value() == 100 &&
                            OptionForm->hkWindow->HotKey() == 24689 && OptionForm->cbIEButton->Checked() &&
                            OptionForm->cbJPEGQulity->Enabled();
            SendMessageW(OptionForm->btnCancel->Handle(), BM_CLICK, 0, 0);
        });
    EXPECT_TRUE(hotkeysFreeWhileOpen);
    EXPECT_TRUE(defaultsShown);
    EXPECT_EQ(OptionForm, nullptr);
    EXPECT_EQ(form->ReadInteger(SettingName::kScrollDelay), 250);
    EXPECT_EQ(form->acCaptureWindow->ShortCut, kCtrlAltW);
    EXPECT_FALSE(BrowserButtonInstalled());
    EXPECT_FALSE(CombinationFree(kCtrlAltW)); // registered again
}

TEST_F(OptionFormTest, EveryOkInstallsOrRemovesTheBrowserButtonByItsCheckBox) {
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [&] { SendMessageW(OptionForm->btnOK->Handle(), BM_CLICK, 0, 0); });
    EXPECT_TRUE(BrowserButtonInstalled());
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [&] {
            OptionForm->cbIEButton->SetChecked(false);
            SendMessageW(OptionForm->btnOK->Handle(), BM_CLICK, 0, 0);
        });
    EXPECT_FALSE(BrowserButtonInstalled());
    EXPECT_FALSE(form->ReadBool(SettingName::kIsIEButton));
}

TEST_F(OptionFormTest, RemovingTheBrowserButtonSaysWhenItsKeyCannotBeDeletedButNotWhenItIsMissing) {
    // Never installed: nothing to remove and nothing to say.
    EXPECT_NO_THROW(UnregisterBrowserButton());
    RegisterBrowserButton();
    LSTATUS result = ERROR_ACCESS_DENIED;
    BrowserButtonDeleteHook = [&](HKEY, const wchar_t*) { return result; };
    try {
        UnregisterBrowserButton();
        ADD_FAILURE() << "a key that stays was reported as removed";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_EQ(e.Message(), L"Cannot delete the browser button's registry key: " +
                                   SysErrorMessage(ERROR_ACCESS_DENIED));
    }
    EXPECT_TRUE(BrowserButtonInstalled());
    // A missing parent key is as good as a missing key.
    result = ERROR_PATH_NOT_FOUND;
    EXPECT_NO_THROW(UnregisterBrowserButton());
}

TEST_F(OptionFormTest, AfterAChangedShortcutOnlyTheNewCombinationWorks) {
    form->RegisterHotKeys();
    int windows = 0;
    form->acCaptureWindow->OnExecute = [&](TObject*) { ++windows; };
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [&] {
            // A hotkey message that arrives while the dialog is open does nothing.
            SendMessageW(form->Handle(), WM_HOTKEY, form->HotKeyIds[1],
                         MAKELPARAM(MOD_CONTROL | MOD_SHIFT, VK_F2));
            OptionForm->hkWindow->SetHotKey(kCtrlAltW);
            SendMessageW(OptionForm->btnOK->Handle(), BM_CLICK, 0, 0);
        });
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(form->acCaptureWindow->ShortCut, kCtrlAltW);
    EXPECT_TRUE(CombinationFree(24689));      // Ctrl+Shift+F2 is released
    EXPECT_FALSE(CombinationFree(kCtrlAltW)); // Ctrl+Alt+W is held
    const WPARAM id = form->HotKeyIds[1];
    SendMessageW(form->Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL | MOD_SHIFT, VK_F2));
    EXPECT_EQ(windows, 0);
    SendMessageW(form->Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'W'));
    EXPECT_EQ(windows, 1);
}

TEST_F(OptionFormTest, AShortcutThatAnotherProgramHoldsIsStoredAndNamedInOneWarning) {
    // Another window holds Ctrl+Alt+K and Ctrl+Alt+W for the whole desktop.
    TFormDesign d;
    TForm other(nullptr, L"OtherProgram", d);
    ASSERT_TRUE(RegisterHotKey(other.Handle(), 1, MOD_CONTROL | MOD_ALT, 'K'));
    ASSERT_TRUE(RegisterHotKey(other.Handle(), 2, MOD_CONTROL | MOD_ALT, 'W'));
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [&] {
            OptionForm->hkScreen->SetHotKey(kCtrlAltK);
            OptionForm->hkRecapture->SetHotKey(kCtrlAltW);
            OptionForm->seScrollDelay->SetValue(40);
            SendMessageW(OptionForm->btnOK->Handle(), BM_CLICK, 0, 0);
        });
    EXPECT_EQ(OptionForm, nullptr);
    EXPECT_EQ(form->acCaptureScreen->ShortCut, kCtrlAltK);
    EXPECT_EQ(form->acCaptureRecapture->ShortCut, kCtrlAltW);
    EXPECT_EQ(form->ReadInteger(SettingName::kScrollDelay), 40);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"These hotkeys are used by another program and do nothing now:\n"
                           L"Full Screen\nRepeat Last Capture");
    // The others were registered as always.
    EXPECT_FALSE(CombinationFree(24688));

    // Cancel warns of nothing, even while a hotkey stays unregistered.
    messages.clear();
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [] { SendMessageW(OptionForm->btnCancel->Handle(), BM_CLICK, 0, 0); });
    EXPECT_TRUE(messages.empty());
    UnregisterHotKey(other.Handle(), 1);
    UnregisterHotKey(other.Handle(), 2);
}

TEST_F(OptionFormTest, TwoCommandsOnOneShortcutAreNamedAsOurOwnClashAndOnlyChangedOnesAreWarned) {
    // Another program has held Full Screen's combination since start-up.
    TFormDesign d;
    TForm other(nullptr, L"OtherProgram", d);
    ASSERT_TRUE(RegisterHotKey(other.Handle(), 1, MOD_CONTROL | MOD_ALT, 'K'));
    form->acCaptureScreen->ShortCut = kCtrlAltK;
    form->RegisterHotKeys();
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [&] {
            OptionForm->hkWindow->SetHotKey(kCtrlAltW);
            OptionForm->hkRecapture->SetHotKey(kCtrlAltW);
            SendMessageW(OptionForm->btnOK->Handle(), BM_CLICK, 0, 0);
        });
    EXPECT_EQ(OptionForm, nullptr);
    EXPECT_EQ(form->acCaptureRecapture->ShortCut, kCtrlAltW);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"These commands of Tolvex were set to one and the same shortcut:\n"
                           L"Selected Window, Repeat Last Capture");

    // OK with nothing changed warns of nothing.
    messages.clear();
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [] { SendMessageW(OptionForm->btnOK->Handle(), BM_CLICK, 0, 0); });
    EXPECT_TRUE(messages.empty());
    UnregisterHotKey(other.Handle(), 1);
}

TEST_F(OptionFormTest, ABrowserButtonThatCannotBeRemovedIsReportedAndTheRestOfTheOkStillRuns) {
    RegisterBrowserButton();
    BrowserButtonDeleteHook = [](HKEY, const wchar_t*) { return LSTATUS{ERROR_ACCESS_DENIED}; };
    RunModal(
        form->acToolOption, [] { return static_cast<TForm*>(OptionForm); },
        [&] {
            OptionForm->cbIEButton->SetChecked(false);
            OptionForm->hkWindow->SetHotKey(kCtrlAltW);
            OptionForm->hkRecapture->SetHotKey(kCtrlAltW);
            OptionForm->seScrollDelay->SetValue(40);
            SendMessageW(OptionForm->btnOK->Handle(), BM_CLICK, 0, 0);
        });
    EXPECT_EQ(OptionForm, nullptr);
    // The error, and the warning of the same OK.
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              L"Cannot delete the browser button's registry key: " + SysErrorMessage(ERROR_ACCESS_DENIED));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"These commands of Tolvex were set to one and the same shortcut:\n"
                           L"Selected Window, Repeat Last Capture");
    EXPECT_TRUE(BrowserButtonInstalled());
    EXPECT_FALSE(form->ReadBool(SettingName::kIsIEButton));
    EXPECT_EQ(form->ReadInteger(SettingName::kScrollDelay), 40);
    EXPECT_EQ(form->acCaptureRecapture->ShortCut, kCtrlAltW);
    EXPECT_FALSE(CombinationFree(24692)); // the hotkeys are registered again
}

TEST_F(OptionFormTest, ThePageButtonsStandOnAWhiteFrameAndTheButtonsShowPictures) {
    const auto dialog = OpenDialog();
    EXPECT_EQ(dialog->Shape1->BrushColor(), 0xFFFFFFu);
    RECT frame{}, page{}, inside{};
    GetWindowRect(dialog->Shape1->Handle(), &frame);
    GetWindowRect(dialog->btnShortcutTab->Handle(), &page);
    EXPECT_TRUE(IntersectRect(&inside, &frame, &page) && EqualRect(&inside, &page));
    EXPECT_EQ(GetWindow(dialog->Shape1->Handle(), GW_HWNDNEXT), nullptr); // under the buttons
    // One picture each: 32 pixels on the page buttons, 16 on OK and Default.
    const std::pair<const TControl*, int> glyphs[] = {{dialog->btnDefaultTab, 32},
                                                      {dialog->btnShortcutTab, 32},
                                                      {dialog->btnOK, 16},
                                                      {dialog->btnDefault, 16}};
    for (const auto& [button, size] : glyphs) {
        int width = 0, height = 0;
        ASSERT_NE(dialog->Glyph(button), nullptr);
        EXPECT_EQ(ImageList_GetImageCount(dialog->Glyph(button)), 1);
        ImageList_GetIconSize(dialog->Glyph(button), &width, &height);
        EXPECT_EQ(width, size);
    }
}

TEST_F(OptionFormTest, TheAboutDialogRunsModallyInTheStoredLanguageAndOpensItsLinks) {
    std::vector<std::wstring> opened;
    OpenURLHook = [&](HWND, const std::wstring& url) { opened.push_back(url); };
    Set(SettingName::kLanguage, std::wstring(L"Korea"));
    form->Show();
    bool mainDisabled = false;
    std::wstring text;
    RunModal(
        form->acAbout, [] { return static_cast<TForm*>(AboutForm); },
        [&] {
            mainDisabled = !IsWindowEnabled(form->Handle());
            text = AboutForm->Memo1->Text();
            for (HWND link : {AboutForm->SURLLabel1->Handle(), AboutForm->SURLImage1->Handle()}) {
                SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            }
            SendMessageW(AboutForm->btnOK->Handle(), BM_CLICK, 0, 0);
        });
    EXPECT_TRUE(mainDisabled);
    EXPECT_EQ(AboutForm, nullptr);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(text, AboutText(L"Korea"));
    EXPECT_NE(AboutText(L"Korea"), AboutText(L"English"));
    EXPECT_EQ(opened, (std::vector<std::wstring>{kAboutHomePage, kAboutDonatePage}));
}
