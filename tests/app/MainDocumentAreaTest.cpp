// The main window's document area in-process: names of captured documents, the tab menu's
// moves, the double click into the empty area, the Window menu, and files dropped on the
// window, opened once the drop has returned.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "../forms/FormsTestSupport.h"
#include "../forms/ScratchFolder.h"
#include "DocumentTestSupport.h"
#include "core/StoredValues.h"
#include "editor/frmChild.h"
#include "forms/Actions.h"
#include "forms/ComCtrls.h"
#include "forms/Dialogs.h"
#include "forms/DropFileTarget.h"
#include "forms/FileDialogs.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/ImageCodecs.h"
#include "shell/frmMain.h"

namespace {
// The file names as the shell hands a dragged selection: a file list, here put on the
// clipboard and read back as the clipboard's data object.
IDataObject* FileListData(const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const std::wstring& f : files)
        names += f + L'\0';
    names += L'\0';
    HGLOBAL block =
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    IDataObject* data = nullptr;
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        SetClipboardData(CF_HDROP, block);
        CloseClipboard();
        OleGetClipboard(&data);
    }
    return data;
}

class DocumentAreaTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        form = QuietMainForm();
        form->Show();
        MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
    }
    void TearDown() override {
        FileDialogHook = nullptr;
        form.reset();
        PumpPending();
        MessageDlgHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        OleUninitialize();
        FormsTest::TearDown();
    }
    TChildForm* Capture() { return CaptureDocument(*form, 4, 3, Color32(0x102030)); }
    std::wstring Picture(const std::wstring& name) {
        const std::wstring path = folder.File(name);
        SaveBitmapToFile(TBitmap32(5, 2, Color32(0x3366CC)), path, TImageFileType::Png, 90);
        return path;
    }
    bool Enabled(TAction* a) {
        a->Update();
        return a->Enabled();
    }

    TScratchFolder folder{L"tolvex-area-"};
    TFormPtr<TMainForm> form;
};
} // namespace

TEST_F(DocumentAreaTest, ACaptureIsNamedWithoutTheExtensionsOfOpenFiles) {
    form->OpenImageFile(Picture(L"New.png"));
    ASSERT_EQ(form->ActiveDocument()->Caption(), L"New.png");
    EXPECT_EQ(Capture()->Caption(), L"*New 2");
}

TEST_F(DocumentAreaTest, MoveLeftAndRightActivateTheNeighbourAndKeepTheTabsInTheirOrder) {
    EXPECT_FALSE(Enabled(form->acPageLeft));
    EXPECT_FALSE(Enabled(form->acPageRight));
    TChildForm* first = Capture();
    TChildForm* second = Capture();
    TChildForm* third = Capture();
    SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(second->Handle()), 0);
    ASSERT_EQ(form->PageControl1->ActivePageIndex(), 1);
    EXPECT_TRUE(Enabled(form->acPageLeft));
    EXPECT_TRUE(Enabled(form->acPageRight));

    form->acPageLeft->Execute();
    EXPECT_EQ(form->ActiveDocument(), first);
    EXPECT_EQ(form->PageControl1->ActivePage(), first->TabSheet);
    EXPECT_FALSE(Enabled(form->acPageLeft));
    form->acPageRight->Execute();
    form->acPageRight->Execute();
    EXPECT_EQ(form->ActiveDocument(), third);
    EXPECT_FALSE(Enabled(form->acPageRight));
    form->acPageRight->Execute(); // disabled: nothing moves
    EXPECT_EQ(form->ActiveDocument(), third);
    EXPECT_EQ(form->PageControl1->Pages(0), first->TabSheet);
    EXPECT_EQ(form->PageControl1->Pages(1), second->TabSheet);
    EXPECT_EQ(form->PageControl1->Pages(2), third->TabSheet);
}

TEST_F(DocumentAreaTest, ADoubleClickOnTheEmptyDocumentAreaRunsOpen) {
    const std::wstring picture = Picture(L"shot.png");
    int asked = 0;
    FileDialogHook = [&](TFileDialog& d) {
        ++asked;
        d.FileName = picture;
        return true;
    };
    // The system reports double clicks to the area only when its class asks for them.
    EXPECT_TRUE(GetClassLongPtrW(form->ClientHandle(), GCL_STYLE) & CS_DBLCLKS);
    SendMessageW(form->ClientHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 40));
    EXPECT_EQ(asked, 1);
    ASSERT_NE(form->ActiveDocument(), nullptr);
    EXPECT_EQ(form->ActiveDocument()->FileName, picture);
    // A single click opens nothing.
    SendMessageW(form->ClientHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    SendMessageW(form->ClientHandle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_EQ(asked, 1);
}

TEST_F(DocumentAreaTest, TheWindowMenuHoldsItsFiveEntriesWhateverIsOpen) {
    Capture();
    Capture();
    const HMENU bar = GetMenu(form->Handle());
    HMENU window = nullptr;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        wchar_t text[32] = {};
        GetMenuStringW(bar, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
        if (std::wstring(text) == L"Window")
            window = GetSubMenu(bar, i);
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetMenuItemCount(window), 5);
}

TEST_F(DocumentAreaTest, MinimizeAllLeavesAClosedDocumentWaitingForItsReleaseHidden) {
    TChildForm* open = Capture();
    TChildForm* closed = Capture();
    closed->SetModified(false);
    form->acFileClose->Execute();
    ASSERT_TRUE(closed->Released);
    ASSERT_FALSE(IsWindowVisible(closed->Handle()));
    // Before the posted release comes: the open document goes down, the closed one stays out of sight.
    form->acWinMin->Execute();
    EXPECT_TRUE(IsIconic(open->Handle()));
    EXPECT_FALSE(IsWindowVisible(closed->Handle()));
    EXPECT_FALSE(IsIconic(closed->Handle()));
}

TEST_F(DocumentAreaTest, DroppedFilesOpenAfterTheDropReturnedAndTheirErrorsShowOnlyThen) {
    const std::wstring picture = Picture(L"dropped.png");
    const std::wstring broken = folder.File(L"broken.png");
    const std::uint8_t text[] = {'n', 'o', 't'};
    WriteFileAtomic(broken, text);
    form->RegisterDropTarget();
    EXPECT_TRUE(form->DropFileTarget1->ShowsDragImage());
    IDropTarget* target = form->DropFileTarget1->DropTarget();
    IDataObject* data = FileListData({picture, broken});
    ASSERT_NE(data, nullptr);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const POINTL pt{50, 50};
    ASSERT_EQ(target->DragEnter(data, MK_LBUTTON, pt, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->Drop(data, 0, pt, &effect), S_OK);
    // Nothing is opened, and nothing shown, while the other program waits in its drag.
    EXPECT_EQ(form->DocumentCount(), 0);
    EXPECT_TRUE(errors.empty());

    ASSERT_TRUE(PumpUntil([&] { return !errors.empty(); }));
    ASSERT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(form->ActiveDocument()->FileName, picture);
    EXPECT_EQ(errors.size(), 1u);
    data->Release();
    form->RevokeDropTarget();
}
