// Documents of the main window in-process: captures, blank images and opened files as
// documents with tabs, saving with the extension rule and the overwrite question, closing
// with the save question, the undo policy and the floating selection's edit commands.
#include "editor/frmChild.h"

#include <windows.h>

#include <objbase.h>

#include <map>
#include <string>
#include <vector>

#include "../forms/FormsTestSupport.h"
#include "../forms/ScratchFolder.h"
#include "core/StoredValues.h"
#include "editor/dlgNewCapture.h"
#include "editor/frmTool.h"
#include "editor/unitClipboard.h"
#include "forms/Actions.h"
#include "forms/ColorComboBox.h"
#include "forms/ComCtrls.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/FileDialogs.h"
#include "forms/Files.h"
#include "forms/Graphics.h"
#include "forms/ImageCodecs.h"
#include "forms/Slider.h"
#include "forms/StdCtrls.h"
#include "shell/frmMain.h"

namespace {
struct TAnswer {
    static inline int width = 0;
    static inline int result = mrCancel;
    // Answers the dialog from inside its modal loop.
    static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
        if (!NewCaptureDialog)
            return;
        KillTimer(nullptr, id);
        NewCaptureDialog->SpinEdit1->SetValue(width);
        NewCaptureDialog->SpinEdit2->SetValue(48);
        NewCaptureDialog->JvColorComboBox1->SetColorValue(0x0000FF);
        NewCaptureDialog->ModalResult = result;
    }
};

class DocumentsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        form = CreateForm<TMainForm>();
        ShutterSoundHook = [] {};
        MessageDlgHook = [this](const std::wstring& m, TMsgDlgType, TMsgDlgButtons) {
            questions.push_back(m);
            // The answer by the quoted document name, Yes for anything else.
            for (const auto& [name, answer] : answers)
                if (m.find(L"'" + name + L"'") != std::wstring::npos)
                    return answer;
            return defaultAnswer;
        };
        FileDialogHook = [this](TFileDialog& d) {
            dialogs.push_back(d);
            if (chosen.empty())
                return false;
            d.FileName = chosen;
            if (chosenFilter)
                d.FilterIndex = chosenFilter;
            return true;
        };
        Set(SettingName::kIsSound, false);
        Set(SettingName::kIsAfterVisible, false);
        Set(SettingName::kOutputType, 0);
    }
    void TearDown() override {
        // Nothing may ask while the documents go with the main window.
        MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
        PumpPending();
        form.reset();
        PumpPending();
        ShutterSoundHook = nullptr;
        MessageDlgHook = nullptr;
        FileDialogHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        CoUninitialize();
        FormsTest::TearDown();
    }
    void Set(std::wstring_view name, TStoredValue v) {
        form->JvFormStorage1.SetStoredValue(name, std::move(v));
    }

    // A capture of w x h in one colour delivered to a new document.
    TChildForm* Capture(int w, int h, TColor color = 0x00FF00) {
        TBitmap b(w, h, TPixelFormat::pf24bit);
        TBitmap32 fill(w, h, Color32(color));
        AssignFromBitmap32(b, fill);
        form->NewCapture(b);
        return form->ActiveDocument();
    }
    std::vector<TChildForm*> Docs() const {
        std::vector<TChildForm*> docs;
        for (TForm* f : form->MDIChildren())
            if (auto* d = dynamic_cast<TChildForm*>(f); d && !d->Released)
                docs.push_back(d);
        return docs;
    }
    bool Enabled(TAction* a) {
        a->Update();
        return a->Enabled();
    }

    TFormPtr<TMainForm> form;
    std::vector<std::wstring> questions;
    std::map<std::wstring, int> answers;
    int defaultAnswer = mrYes;
    std::vector<TFileDialog> dialogs;
    std::wstring chosen;
    int chosenFilter = 0;
};
} // namespace

TEST_F(DocumentsTest, CapturesOpenAsMarkedDocumentsNamedNewThenNew2WithTheirTabs) {
    TChildForm* first = Capture(30, 20);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Caption(), L"*New");
    EXPECT_TRUE(first->Modified);
    EXPECT_EQ(first->ImgView32->Bitmap().Width(), 30);
    EXPECT_EQ(first->ImgView32->Bitmap().Pixel(3, 4), Color32(0x00FF00));
    TChildForm* second = Capture(5, 6);
    EXPECT_EQ(second->Caption(), L"*New 2");
    EXPECT_EQ(second->GetTitle(), L"New 2");
    ASSERT_EQ(form->PageControl1->PageCount(), 2);
    EXPECT_EQ(form->PageControl1->Pages(1)->Caption(), L"*New 2");
    EXPECT_EQ(form->PageControl1->ActivePage(), second->TabSheet);
    // A new document starts with an empty history: nothing to undo or redo.
    EXPECT_FALSE(Enabled(form->acEditUndo));
    EXPECT_FALSE(Enabled(form->acEditRedo));
    EXPECT_EQ(first->History->Count(), 0);

    // Clicking the first tab activates its document; activating a document selects its tab.
    form->PageControl1->SetActivePage(first->TabSheet);
    form->PageControl1Change(form->PageControl1);
    EXPECT_EQ(form->ActiveDocument(), first);
    SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(second->Handle()), 0);
    EXPECT_EQ(form->PageControl1->ActivePage(), second->TabSheet);

    // Closing New frees its name and its tab.
    answers[L"*New"] = mrNo;
    SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
    form->acFileClose->Execute();
    EXPECT_EQ(form->PageControl1->PageCount(), 1);
    ASSERT_TRUE(PumpUntil([&] { return form->MDIChildren().size() == 1; }));
    EXPECT_EQ(Capture(2, 2)->Caption(), L"*New");
}

TEST_F(DocumentsTest, NewAsksSizeAndColourStoresThemAndCancelChangesNothing) {
    auto& width = TAnswer::width;
    auto& result = TAnswer::result;
    const TIMERPROC answer = &TAnswer::Proc;
    width = 64;
    result = mrCancel;
    SetTimer(nullptr, 0, 20, answer);
    form->acFileNew->Execute();
    EXPECT_TRUE(Docs().empty());
    EXPECT_EQ(NewCaptureDialog, nullptr);
    EXPECT_EQ(form->ReadInteger(SettingName::kNewCaptureWidth), 320);

    result = mrOk;
    width = 99999; // held to the dialog's range
    SetTimer(nullptr, 0, 20, answer);
    form->acFileNew->Execute();
    ASSERT_EQ(Docs().size(), 1u);
    TChildForm* doc = Docs()[0];
    EXPECT_EQ(doc->Caption(), L"New");
    EXPECT_FALSE(doc->Modified);
    EXPECT_EQ(doc->ImgView32->Bitmap().Width(), 5120);
    EXPECT_EQ(doc->ImgView32->Bitmap().Height(), 48);
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(10, 10) & 0xFFFFFF, Color32(0x0000FF) & 0xFFFFFF);
    EXPECT_EQ(form->ReadInteger(SettingName::kNewCaptureWidth), 5120);
    EXPECT_EQ(form->ReadInteger(SettingName::kNewCaptureHeight), 48);
    EXPECT_EQ(form->ReadInteger(SettingName::kNewCaptureColor), 0x0000FF);
}

TEST_F(DocumentsTest, OpenKeepsAlphaAndUnreadableOrMissingFilesLeaveNoDocument) {
    TScratchFolder dir(L"tolvex-open-");
    TBitmap32 picture(4, 3, Color32(10, 20, 30, 255));
    picture.SetPixel(1, 1, Color32(200, 100, 50, 77));
    SaveBitmapToFile(picture, dir.File(L"a.png"), TImageFileType::Png, 90);
    chosen = dir.File(L"a.png");
    form->acFileOpen->Execute();
    ASSERT_EQ(Docs().size(), 1u);
    TChildForm* doc = Docs()[0];
    EXPECT_EQ(doc->Caption(), L"a.png");
    EXPECT_EQ(doc->FileName, dir.File(L"a.png"));
    EXPECT_FALSE(doc->Modified);
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(1, 1), Color32(200, 100, 50, 77));
    // The same file again is a second document of the same name.
    form->OpenImageFile(dir.File(L"a.png"));
    EXPECT_EQ(Docs().size(), 2u);
    EXPECT_EQ(form->ActiveDocument()->Caption(), L"a.png");

    // A missing name and a folder are skipped without a word.
    form->OpenImageFile(dir.File(L"gone.png"));
    form->OpenImageFile(dir.File(L""));
    EXPECT_EQ(Docs().size(), 2u);
    // A damaged file is reported, and no empty document stays behind.
    WriteFileAtomic(dir.File(L"bad.png"), std::vector<std::uint8_t>{'x', 'y'});
    EXPECT_THROW(form->OpenImageFile(dir.File(L"bad.png")), Exception);
    EXPECT_EQ(Docs().size(), 2u);
    EXPECT_EQ(form->PageControl1->PageCount(), 2);

    // A dropped list opens each existing file in order.
    form->DropFileTarget1Drop({dir.File(L"gone.bmp"), dir.File(L"a.png")});
    EXPECT_EQ(Docs().size(), 3u);
    EXPECT_TRUE(questions.empty());

    // Damaged files among them keep none of the others from opening; one error names them all.
    try {
        form->DropFileTarget1Drop(
            {dir.File(L"bad.png"), dir.File(L"a.png"), dir.File(L"bad.png"), dir.File(L"a.png")});
        ADD_FAILURE() << "no error for the damaged files";
    } catch (const Exception& e) {
        const std::wstring& text = e.Message();
        const std::size_t first = text.find(L"bad.png");
        ASSERT_NE(first, std::wstring::npos);
        EXPECT_NE(text.find(L"bad.png", first + 1), std::wstring::npos);
    }
    EXPECT_EQ(Docs().size(), 5u);
}

TEST_F(DocumentsTest, SaveAsWritesTheChosenTypeAndAsksBeforeReplacingAFile) {
    TScratchFolder dir(L"tolvex-save-");
    TChildForm* doc = Capture(6, 4);
    Capture(3, 3); // New 2, then back to New
    SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(doc->Handle()), 0);
    EXPECT_TRUE(Enabled(form->acFileSave));

    // Save of a never-saved document runs Save As: stored type JPEG proposes New under filter 3.
    chosen = dir.File(L"New");
    form->acFileSave->Execute();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].FilterIndex, 3);
    EXPECT_EQ(dialogs[0].FileName, L"New");
    EXPECT_EQ(ReadFileBytes(dir.File(L"New.jpg")).at(0), 0xFF);
    EXPECT_EQ(doc->Caption(), L"New.jpg");
    EXPECT_EQ(doc->TabSheet->Caption(), L"New.jpg");
    EXPECT_FALSE(doc->Modified);
    EXPECT_FALSE(Enabled(form->acFileSave));

    // The PNG filter on a name with another extension writes a PNG.
    chosen = dir.File(L"shot.bmp");
    chosenFilter = 4;
    form->acFileSaveAs->Execute();
    EXPECT_EQ(ReadFileBytes(dir.File(L"shot.png")).at(1), 'P');
    EXPECT_EQ(doc->FileName, dir.File(L"shot.png"));

    // Replacing an existing file asks; No leaves everything as it was.
    doc->SetModified(true);
    chosen = dir.File(L"New.jpg");
    chosenFilter = 3;
    defaultAnswer = mrNo;
    form->acFileSaveAs->Execute();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], L"New.jpg File exist! Overwrite?");
    EXPECT_EQ(doc->Caption(), L"*shot.png");
    EXPECT_EQ(doc->FileName, dir.File(L"shot.png"));
    EXPECT_TRUE(doc->Modified);

    // Save to the document's own file asks nothing.
    form->acFileSave->Execute();
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_FALSE(doc->Modified);
    EXPECT_EQ(doc->Caption(), L"shot.png");
}

TEST_F(DocumentsTest, AFailedWriteKeepsTheDocumentsNameAndMark) {
    TChildForm* doc = Capture(2, 2);
    chosen = L"Z:\\no\\such\\folder\\x";
    chosenFilter = 4;
    EXPECT_THROW(form->acFileSaveAs->Execute(), Exception);
    EXPECT_EQ(doc->Caption(), L"*New");
    EXPECT_TRUE(doc->FileName.empty());
    EXPECT_TRUE(doc->Modified);
}

TEST_F(DocumentsTest, ClosingWithAFloatingPictureAndAnsweringYesSavesItMerged) {
    TScratchFolder dir(L"tolvex-close-");
    SaveBitmapToFile(TBitmap32(2, 2, Color32(0x0000FF)), dir.File(L"red.bmp"), TImageFileType::Bmp, 85);
    TChildForm* doc = Capture(4, 3, 0x00FF00);
    doc->PasteImage(dir.File(L"red.bmp"));
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    doc->SelectionBand->SetLocation(TFloatRect{1, 1, 3, 3});
    defaultAnswer = mrYes;
    chosen = dir.File(L"merged.png");
    chosenFilter = 4;
    form->acFileClose->Execute();
    EXPECT_TRUE(doc->Released);
    EXPECT_EQ(form->CloseResult, 6);
    TBitmap32 saved;
    std::wstring error;
    ASSERT_TRUE(LoadImageFile(dir.File(L"merged.png"), saved, error)) << error.c_str();
    ASSERT_EQ(saved.Width(), 4);
    ASSERT_EQ(saved.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(saved.Pixel(x, y), Color32(x >= 1 && x < 3 && y >= 1 ? 0x0000FF : 0x00FF00))
                << x << "," << y;
}

TEST_F(DocumentsTest, CloseAllAsksEachModifiedDocumentAndCancelStopsItAndTheExit) {
    TChildForm* a = Capture(2, 2);
    TChildForm* b = Capture(2, 2);
    TChildForm* c = Capture(2, 2);
    // Activation order: A active, then B, then C least recently active.
    for (TChildForm* d : {c, b, a})
        SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(d->Handle()), 0);
    answers[c->Caption()] = mrNo;
    answers[b->Caption()] = mrCancel;
    const std::wstring aCaption = a->Caption();
    form->acFileCloseAll->Execute();
    EXPECT_EQ(form->CloseResult, 2);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0], L"'*New 3' Save after exit?");
    EXPECT_EQ(questions[1], L"'*New 2' Save after exit?");
    EXPECT_TRUE(c->Released);
    EXPECT_FALSE(b->Released);
    EXPECT_FALSE(a->Released);

    // The real exit asks again and is given up on Cancel.
    questions.clear();
    form->acFileExit->Execute();
    EXPECT_FALSE(questions.empty());
    EXPECT_EQ(Docs().size(), 2u);
    EXPECT_EQ(form->CloseResult, 2);
}

TEST_F(DocumentsTest, YesWithoutAChosenFileKeepsTheDocumentOpen) {
    TChildForm* doc = Capture(2, 2);
    defaultAnswer = mrYes;
    chosen.clear(); // the save dialog is cancelled
    form->acFileClose->Execute();
    EXPECT_FALSE(doc->Released);
    EXPECT_EQ(form->CloseResult, 2);
    // An unmodified document closes without a question.
    doc->SetModified(false);
    questions.clear();
    form->acFileClose->Execute();
    EXPECT_TRUE(doc->Released);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(form->CloseResult, 1);
}

TEST_F(DocumentsTest, AClosedDocumentWaitingForItsReleaseIsNeverTheOneCommandsTabsAndToolsReach) {
    TChildForm* kept = Capture(4, 4);
    TChildForm* closed = Capture(4, 4);
    closed->PushHistory();
    closed->PushHistory();
    ASSERT_TRUE(Enabled(form->acEditUndo));
    closed->SetModified(false);
    form->acFileClose->Execute();
    ASSERT_TRUE(closed->Released);
    // The neighbour is the active document at once, with its tab.
    EXPECT_EQ(form->ActiveDocument(), kept);
    EXPECT_EQ(form->PageControl1->ActivePage(), kept->TabSheet);

    // The last document: until the posted release has run nothing is active for the
    // commands, so none reaches its freed history, and Close does not close it again.
    kept->PushHistory();
    kept->PushHistory();
    kept->SetModified(false);
    form->acFileClose->Execute();
    ASSERT_TRUE(kept->Released);
    ASSERT_EQ(kept->History, nullptr);
    ASSERT_EQ(form->ActiveDocument(), nullptr);
    EXPECT_EQ(form->ActiveToolDocument(), nullptr);
    EXPECT_FALSE(Enabled(form->acEditUndo));
    EXPECT_FALSE(Enabled(form->acEffectInvert));
    EXPECT_FALSE(Enabled(form->acFileClose));
    form->acEditUndo->Execute();
    form->acEffectInvert->Execute();
    questions.clear();
    form->acFileClose->Execute();
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(errors.empty());
    ASSERT_TRUE(PumpUntil([&] { return form->MDIChildren().empty(); }));
}

TEST_F(DocumentsTest, TheHistoryKeepsTheFirstStateAndTheFourteenNewest) {
    TChildForm* doc = Capture(2, 1, 0);
    TBitmap32& image = doc->ImgView32->Bitmap();
    // Stroke k leaves the colour k in pixel (0, 0); state 0 is the untouched image.
    doc->PushHistory();
    for (int k = 1; k <= 20; ++k) {
        image.SetPixel(0, 0, Color32(static_cast<std::uint8_t>(k), 0, 0));
        doc->PushHistory();
    }
    EXPECT_EQ(doc->History->Count(), TChildForm::kMaxHistory);
    EXPECT_EQ(doc->History->Index(), 14);
    for (int i = 0; i < 13; ++i)
        form->acEditUndo->Execute();
    EXPECT_EQ(RedComponent(image.Pixel(0, 0)), 7); // states 7..20 are the newest fourteen
    form->acEditUndo->Execute();
    EXPECT_EQ(image.Pixel(0, 0), Color32(0, 0, 0));
    EXPECT_FALSE(Enabled(form->acEditUndo));
    form->acEditRedo->Execute();
    EXPECT_EQ(RedComponent(image.Pixel(0, 0)), 7);
    // A new state drops the redo tail.
    image.SetPixel(0, 0, Color32(99, 0, 0));
    doc->PushHistory();
    EXPECT_EQ(doc->History->Count(), 3);
    EXPECT_FALSE(Enabled(form->acEditRedo));
}

TEST_F(DocumentsTest, SelectAllCopyPasteRoundTripKeepsTransparency) {
    TChildForm* doc = Capture(3, 2, 0x0000FF);
    EXPECT_FALSE(Enabled(form->acEditCopy));
    form->acEditSelectAll->Execute();
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    EXPECT_TRUE(Enabled(form->acEditCopy));
    EXPECT_TRUE(Enabled(form->acEditDelete));
    form->acEditCopy->Execute();
    EXPECT_TRUE(Enabled(form->acEditPaste));
    // Paste commits the selection (the image is whole again) and floats the copy.
    form->acEditPaste->Execute();
    const TBitmapLayer* pasted = doc->GetFloatingLayer();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Bitmap().Width(), 3);
    EXPECT_EQ(pasted->Bitmap().Pixel(2, 1), Color32(0x0000FF));
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(2, 1), Color32(0x0000FF));
    EXPECT_EQ(doc->History->Count(), 1);

    // A half-transparent picture comes back with its alpha.
    TBitmap32 glass(2, 2, Color32(0, 255, 0, 128));
    CopyBitmap32ToClipboard(glass, form->Handle());
    form->acEditPaste->Execute();
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(AlphaComponent(doc->GetFloatingLayer()->Bitmap().Pixel(1, 1)), 128);
    EXPECT_EQ(doc->History->Count(), 2);

    // Delete fills the selection with the fill colour and merges it.
    form->acEditSelectAll->Execute();
    form->acEditDelete->Execute();
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(0, 0), Color32(0xFFFFFF));
}

TEST_F(DocumentsTest, UndoMergesAFloatingPasteThenStepsBehindIt) {
    TChildForm* doc = Capture(4, 4, 0);
    doc->PushHistory();
    doc->ImgView32->Bitmap().SetPixel(0, 0, Color32(1, 2, 3));
    doc->PushHistory();
    TBitmap32 red(4, 4, Color32(255, 0, 0));
    CopyBitmap32ToClipboard(red, form->Handle());
    doc->PasteImage(L"");
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    // The paste floats centred in the view, which lies beyond this tiny image: move it over.
    doc->SelectionBand->SetLocation(TFloatRect{0, 0, 4, 4});
    form->acEditUndo->Execute();
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(0, 0), Color32(1, 2, 3));
    form->acEditRedo->Execute();
    EXPECT_EQ(doc->ImgView32->Bitmap().Pixel(2, 2), Color32(255, 0, 0));
    // With nothing to undo a floating selection stays floating.
    TChildForm* fresh = Capture(2, 2);
    fresh->PasteImage(L"");
    fresh->Undo();
    EXPECT_NE(fresh->GetFloatingLayer(), nullptr);
}

TEST_F(DocumentsTest, CtrlResizesTheSelectionAboutItsCentreWithAFourPixelMinimum) {
    TChildForm* doc = Capture(2, 2);
    TFloatRect loc{100, 10, 220, 30};
    doc->SelectionResizing(nullptr, TFloatRect{100, 10, 200, 30}, loc, TRBDragState::dsSizeR, ssCtrl);
    EXPECT_DOUBLE_EQ(loc.Left, 80);
    EXPECT_DOUBLE_EQ(loc.Right, 220);
    EXPECT_DOUBLE_EQ(loc.Top, 10);
    TFloatRect past{100, 10, 120, 30};
    doc->SelectionResizing(nullptr, TFloatRect{100, 10, 200, 30}, past, TRBDragState::dsSizeR, ssCtrl);
    EXPECT_DOUBLE_EQ(past.Left, 148);
    EXPECT_DOUBLE_EQ(past.Right, 152);
    TFloatRect plain{100, 10, 220, 30};
    doc->SelectionResizing(nullptr, TFloatRect{100, 10, 200, 30}, plain, TRBDragState::dsSizeR, 0);
    EXPECT_DOUBLE_EQ(plain.Left, 100);
    EXPECT_EQ(TChildForm::SelectionSizeText(TFloatRect{0, 0, 3.4, 2.6}), L"Size (W:3,H:3)");
}

TEST_F(DocumentsTest, AddImageFloatsTheFileWithItsAlphaAndAnUnreadableFileIsNamedInTheErrorBox) {
    TScratchFolder dir(L"tolvex-add-");
    TBitmap32 picture(3, 3, Color32(1, 2, 3, 40));
    SaveBitmapToFile(picture, dir.File(L"Glass.PNG"), TImageFileType::Png, 90);
    EXPECT_FALSE(Enabled(form->acFileAddImage));
    TChildForm* doc = Capture(8, 8);
    EXPECT_TRUE(Enabled(form->acFileAddImage));
    chosen = dir.File(L"Glass.PNG");
    form->acFileAddImage->Execute();
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->GetFloatingLayer()->Bitmap().Pixel(2, 2), Color32(1, 2, 3, 40));
    const TFloatRect at = doc->GetFloatingLayer()->Location();
    EXPECT_DOUBLE_EQ(at.Right - at.Left, 3.0);

    // A file that cannot be read: the earlier selection is merged, no new one floats, and
    // the error names the file.
    WriteFileAtomic(dir.File(L"bad.png"), std::vector<std::uint8_t>{'x'});
    chosen = dir.File(L"bad.png");
    EXPECT_THROW(
        try { form->acFileAddImage->Execute(); } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(L"bad.png"), std::wstring::npos);
            throw;
        },
        Exception);
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->ImgView32->LayerCount(), 0u);
}

TEST_F(DocumentsTest, EveryDocumentTakesTheCursorOfTheCurrentTool) {
    auto tool = CreateForm<TToolForm>(*form);
    ToolForm = tool.get();
    TChildForm* a = Capture(2, 2);
    EXPECT_EQ(a->ImgView32->Cursor(), ScreenCursor(crMove));
    tool->Tool = TToolCode::Pen;
    TChildForm* b = Capture(2, 2);
    EXPECT_EQ(b->ImgView32->Cursor(), ScreenCursor(crWrite));
    tool->Tool = TToolCode::Line;
    form->UpdateChildCursors();
    EXPECT_EQ(a->ImgView32->Cursor(), LoadCursorW(nullptr, IDC_CROSS));
    EXPECT_EQ(b->ImgView32->Cursor(), LoadCursorW(nullptr, IDC_CROSS));
    // A new document sets the zoom slider back to 100 per cent; activating a document
    // brings its own zoom and its selection's transparency to the sliders.
    tool->JvxSlider1->SetValue(300);
    EXPECT_DOUBLE_EQ(b->Scale(), 3.0);
    TChildForm* c = Capture(2, 2);
    EXPECT_EQ(tool->JvxSlider1->Value(), 100);
    c->SelectAll();
    c->SetFloatingMasterAlpha(90);
    SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b->Handle()), 0);
    EXPECT_EQ(tool->JvxSlider1->Value(), 300);
    EXPECT_EQ(tool->JvxSlider2->Value(), 255);
    SendMessageW(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(c->Handle()), 0);
    EXPECT_EQ(tool->JvxSlider1->Value(), 100);
    EXPECT_EQ(tool->JvxSlider2->Value(), 90);
    ToolForm = nullptr;
    MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
    form->acFileCloseAll->Execute();
    EXPECT_TRUE(PumpUntil([&] { return form->MDIChildren().empty(); }));
}

TEST_F(DocumentsTest, TheViewsSizeGripResizesTheDocumentWindowAndHidesWhileItIsMaximised) {
    TChildForm* doc = Capture(40, 30);
    ASSERT_NE(doc, nullptr);
    // The first document opens maximised: no grip.
    EXPECT_TRUE(IsZoomed(doc->Handle()));
    EXPECT_FALSE(doc->ImgView32->SizeGripVisible());
    ShowWindow(doc->Handle(), SW_RESTORE);
    ASSERT_TRUE(doc->ImgView32->SizeGripVisible());

    const HWND view = doc->ImgView32->Handle();
    RECT viewWindow{};
    GetWindowRect(view, &viewWindow);
    const RECT grip = doc->ImgView32->SizeGripRect();
    const POINT onGrip{viewWindow.left + grip.left + 2, viewWindow.top + grip.top + 2};
    EXPECT_EQ(SendMessageW(view, WM_NCHITTEST, 0, MAKELPARAM(onGrip.x, onGrip.y)), HTBOTTOMRIGHT);
    RECT before{};
    GetWindowRect(doc->Handle(), &before);
    SendMessageW(view, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(onGrip.x, onGrip.y));
    POINT release{onGrip.x - 25, onGrip.y + 15};
    ScreenToClient(view, &release);
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    RECT after{};
    GetWindowRect(doc->Handle(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left - 25);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 15);
    // The view still fills the document and its grip sits in the new corner.
    RECT client{};
    GetClientRect(doc->Handle(), &client);
    GetWindowRect(view, &viewWindow);
    EXPECT_EQ(viewWindow.right - viewWindow.left, client.right);
    EXPECT_EQ(viewWindow.bottom - viewWindow.top, client.bottom);
    // Only the window changed, not the picture.
    EXPECT_EQ(doc->ImgView32->Bitmap().Width(), 40);

    ShowWindow(doc->Handle(), SW_MAXIMIZE);
    EXPECT_FALSE(doc->ImgView32->SizeGripVisible());
}
